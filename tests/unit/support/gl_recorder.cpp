#include "tests/unit/support/gl_recorder.hpp"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>
#include <tuple>

namespace rec {

namespace {
bool on = false;
std::vector<std::string> log;

std::string text(double v)
{
    char b[64];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
}
std::string text(const char* s) { return s; }

}  // namespace

// "name(a, b, ...)" into the log while recording.
template <typename... A>
void add(const char* name, const std::tuple<A...>& args)
{
    if (!on) return;
    std::string s = std::string(name) + "(";
    std::apply([&](const auto&... a) { ((s += (s.back() == '(' ? "" : ", ") + text(a)), ...); }, args);
    log.push_back(s + ")");
}

int redisplays = 0;
int swaps = 0;
bool failGenLists = false;
bool failNewQuadric = false;
void (*beforeCallList)(unsigned) = nullptr;

void start()
{
    log.clear();
    on = true;
}
void stop() { on = false; }
const std::vector<std::string>& calls() { return log; }

std::vector<std::string> only(const std::string& prefix)
{
    std::vector<std::string> r;
    for (const auto& c : log)
        if (c.compare(0, prefix.size(), prefix) == 0) r.push_back(c);
    return r;
}

int count(const std::string& name)
{
    int n = 0;
    for (const auto& c : log)
        if (c.compare(0, name.size() + 1, name + "(") == 0) ++n;
    return n;
}

}  // namespace rec

extern "C" {
#define RECORD(result, name, params, passed, recorded) result __real_##name params;
#define OWN(result, name, params) result __real_##name params;
#include "tests/unit/support/gl_wrapped.def"
#undef RECORD
#undef OWN

#define RECORD(result, name, params, passed, recorded) \
    result __wrap_##name params                        \
    {                                                  \
        rec::add(#name, std::make_tuple recorded);     \
        return __real_##name passed;                   \
    }
#define OWN(result, name, params)
#include "tests/unit/support/gl_wrapped.def"
#undef RECORD
#undef OWN

// The wrappers with more to do than record.
void __wrap_glCallList(GLuint l)
{
    rec::add("glCallList", std::make_tuple(l));
    if (rec::beforeCallList) rec::beforeCallList(l);
    __real_glCallList(l);
}
GLuint __wrap_glGenLists(GLsizei n)
{
    rec::add("glGenLists", std::make_tuple(n));
    return rec::failGenLists ? 0 : __real_glGenLists(n);
}
GLUquadric* __wrap_gluNewQuadric(void)
{
    rec::add("gluNewQuadric", std::make_tuple());
    return rec::failNewQuadric ? nullptr : __real_gluNewQuadric();
}
void __wrap_glutSwapBuffers(void)
{
    ++rec::swaps;
    rec::add("glutSwapBuffers", std::make_tuple());
    __real_glutSwapBuffers();
}
void __wrap_glutPostRedisplay(void)
{
    ++rec::redisplays;
    rec::add("glutPostRedisplay", std::make_tuple());
    __real_glutPostRedisplay();
}
}
