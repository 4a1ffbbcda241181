"""What the two end-to-end suites of the real program, the Linux build's and
the Windows build's under Wine, both do to it: the keys they press and the menu
choices they make, with what each must change."""

# Key, joint it turns, change; the arrows' moves have no joint. One-character
# keys are typed as they are; others are X key names.
SPECIAL_KEYS = [("F1", "colloz", 3), ("F2", "colloz", -3), ("F3", "collox", 3), ("F4", "collox", -3),
                ("F5", "colloy", 3), ("F6", "colloy", -3), ("F7", "panciaz", 3), ("F8", "panciaz", -3),
                ("F9", "panciay", 3), ("F10", "panciay", -3), ("F11", "panciax", 3), ("F12", "panciax", -3),
                ("Left", "direzione", 3), ("Up", None, 1), ("Right", "direzione", -3), ("Right", "direzione", -3),
                ("Down", None, -1)]

# Each entry of both menus, opened at its own point of the window: button,
# entry, press point, and the way it is chosen: pressed and dragged to the
# entry (DRAG), or clicked, the pointer moved to the entry and clicked there
# (CLICK), on the menu's own window. The animations come first, while the
# figure faces +z. BESIDE chooses nothing: the menu, opened with a click, is
# closed by a middle click on the window beside it, where the click's window
# coordinates, read as the screen's, would fall on the entry.
DRAG, CLICK, BESIDE = False, True, "beside"
DESKTOP_CHOICES = [(1, 2, (20, 20), BESIDE), (1, 1, (20, 20), DRAG), (1, 2, (600, 600), CLICK),
                   (1, 3, (325, 40), DRAG), (3, 1, (40, 600), CLICK), (3, 8, (100, 40), BESIDE),
                   (3, 2, (600, 20), DRAG), (3, 3, (20, 20), CLICK), (3, 4, (500, 300), DRAG),
                   (3, 5, (100, 450), CLICK), (3, 1, (20, 200), BESIDE), (3, 6, (600, 600), DRAG),
                   (3, 7, (20, 300), CLICK), (3, 8, (300, 20), DRAG)]
# View entry: (step, turn, change of the view volume's bound, projection switched).
VIEWS = {1: (-15, 0, 0, False), 2: (15, 0, 0, False), 3: (0, -15, 0, False), 4: (0, 15, 0, False),
         5: (0, -180, 0, False), 6: (0, 0, 5, False), 7: (0, 0, -5, False), 8: (0, 0, 0, True)}
