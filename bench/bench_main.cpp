// How fast a frame is: the figure against an empty frame (the floor) and against
// the same figure issued in immediate mode; the three animations; and the heap
// allocations a frame and an animation make. All in one window, 650 x 650, and
// side by side in one run (repetitions interleave at random), so that the ratios
// hold even while the machine is busy with other work.
//
// Own flags, before Google Benchmark's:
//   --pavok_out=FILE     key value lines for bench.py
//   --pavok_frames=N     frames counted for allocations (1000)
//   --pavok_reps=N       repetitions of each benchmark (15)
//   --pavok_quick        smoke run: no animation allocation counts
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "animation/jump.hpp"
#include "animation/run.hpp"
#include "animation/walk.hpp"
#include "app/scene_state.hpp"
#include "bench/alloc_count.hpp"
#include "bench/window.hpp"
#include "figure/body_parts.hpp"
#include "figure/skeleton.hpp"

using namespace scena;

// Google Benchmark 1.5.2 (Debian 11) has no Shutdown, and nothing to free at
// the end. A qualified name looks into the namespaces a using-directive names
// only when its own namespace declares nothing by that name, so this empty one
// stands in only where the library has none.
namespace senza_shutdown {
inline void Shutdown() {}
}  // namespace senza_shutdown
namespace benchmark {
using namespace senza_shutdown;
}  // namespace benchmark

// The immediate-mode peer: while immediato is true, the program's glCallList
// calls (this binary links with --wrap=glCallList) issue the body part's
// commands instead of calling its list. Every shown frame is counted
// (--wrap=glutSwapBuffers), so the animations report how many they play.
namespace {
bool immediato = false;
long mostrati = 0;
}  // namespace

extern "C" void __real_glCallList(GLuint list);
extern "C" void __wrap_glCallList(GLuint list)
{
    if (immediato)
        DisegnoParte(list);
    else
        __real_glCallList(list);
}

extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers()
{
    ++mostrati;
    __real_glutSwapBuffers();
}

namespace {

std::map<std::string, double> risultati;  // key -> value, written at the end

void Frame(benchmark::State& state)
{
    for (auto _ : state) {
        display();
        glFinish();  // the frame is done when the driver is, not when it is queued
    }
}

void Floor(benchmark::State& state)
{
    for (auto _ : state) {
        FrameVuoto();
        glFinish();
    }
}

void Immediate(benchmark::State& state)
{
    immediato = true;
    for (auto _ : state) {
        display();
        glFinish();
    }
    immediato = false;
}

template <void (*animazione)()>
void Animazione(benchmark::State& state)
{
    const long prima = mostrati;
    for (auto _ : state) {
        state.PauseTiming();
        RiportaAllInizio();  // the run and the walk would otherwise leave the view
        state.ResumeTiming();
        animazione();
        glFinish();
    }
    state.counters["frames"] = double(mostrati - prima) / double(state.iterations());
    RiportaAllInizio();
}

// Keeps the median of each benchmark's repetitions, in nanoseconds.
class Raccoglitore : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            const double ns = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e9;
            const std::string chiave = "median_ns." + r.run_name.function_name;
            // A single repetition has no median: its one value stands in.
            if (r.aggregate_name == "median" || (r.aggregate_name.empty() && !risultati.count(chiave))) {
                risultati[chiave] = ns;
                const auto fotogrammi = r.counters.find("frames");
                if (fotogrammi != r.counters.end())
                    risultati["frames." + r.run_name.function_name] = fotogrammi->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Pixels of the back buffer after drawing the figure once, without swapping.
std::vector<unsigned char> Immagine(bool diretto)
{
    immediato = diretto;
    DisegnoScena();
    glFinish();
    immediato = false;
    std::vector<unsigned char> px(size_t(w0) * h0 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w0, h0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// The lists and the peer issue the same table of commands, so the two pictures
// can only differ if the replay goes astray (a handle that finds no part, or
// the wrong one). One frame of each checks that plumbing; whether the numbers
// are right is the tests' business. Returns the pixels that differ.
long ConfrontaPeer()
{
    RiportaAllInizio();
    const std::vector<unsigned char> liste = Immagine(false), diretto = Immagine(true);
    long diversi = 0;
    for (size_t i = 0; i < liste.size(); i += 3) diversi += std::memcmp(&liste[i], &diretto[i], 3) != 0;
    risultati["peer.pixels_differing"] = double(diversi);
    return diversi;
}

// What one frame asks of the driver, from its own pipeline counters: how many
// vertices it transforms and lights, and how many pixels it shades.
void ContaLavoro()
{
    const char* estensioni = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (estensioni == nullptr || std::strstr(estensioni, "GL_ARB_pipeline_statistics_query") == nullptr) return;
    const struct {
        GLenum cosa;
        const char* chiave;
    } contatori[] = {{GL_VERTICES_SUBMITTED_ARB, "work.vertices"},
                     {GL_PRIMITIVES_SUBMITTED_ARB, "work.primitives"},
                     {GL_FRAGMENT_SHADER_INVOCATIONS_ARB, "work.fragments"}};
    for (int vuoto = 0; vuoto < 2; ++vuoto) {
        GLuint q[3];
        glGenQueries(3, q);
        for (int i = 0; i < 3; ++i) glBeginQuery(contatori[i].cosa, q[i]);
        vuoto ? FrameVuoto() : display();
        for (int i = 0; i < 3; ++i) {
            glEndQuery(contatori[i].cosa);
            GLuint64 n = 0;
            glGetQueryObjectui64v(q[i], GL_QUERY_RESULT, &n);
            risultati[std::string(contatori[i].chiave) + (vuoto ? ".floor" : ".frame")] = double(n);
        }
        glDeleteQueries(3, q);
    }
}

void ContaAllocazioni(const char* nome, void (*cosa)(), int volte)
{
    RiportaAllInizio();
    cosa();  // warm-up: any first-use work of the driver is not a frame's cost
    glFinish();
    RiportaAllInizio();
    IniziaConteggio();
    for (int i = 0; i < volte; ++i) cosa();
    glFinish();
    const Allocazioni a = FineConteggio();
    risultati[std::string("allocs.") + nome + ".project"] = double(a.progetto);
    risultati[std::string("allocs.") + nome + ".total"] = double(a.totale);
    RiportaAllInizio();
}

bool Opzione(const char* arg, const char* nome, const char** valore)
{
    const size_t n = std::strlen(nome);
    if (std::strncmp(arg, nome, n) != 0) return false;
    if (arg[n] == '=') *valore = arg + n + 1;
    else if (arg[n] == '\0') *valore = "";
    else return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* uscita = nullptr;
    int fotogrammi = 1000, ripetizioni = 15;
    bool rapido = false;
    std::vector<char*> resto{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const char* v = nullptr;
        if (Opzione(argv[i], "--pavok_out", &v)) uscita = v;
        else if (Opzione(argv[i], "--pavok_frames", &v)) fotogrammi = std::atoi(v);
        else if (Opzione(argv[i], "--pavok_reps", &v)) ripetizioni = std::atoi(v);
        else if (Opzione(argv[i], "--pavok_quick", &v)) rapido = true;
        else resto.push_back(argv[i]);
    }
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    resto.insert(resto.begin() + 1, interleave);  // a later flag on the command line still wins
    int n = int(resto.size());
    resto.push_back(nullptr);
    benchmark::Initialize(&n, resto.data());
    // Initialize takes out the flags it knows. Google Benchmark 1.5.2 (Debian
    // 11) cannot interleave and leaves this one: the repetitions then run one
    // benchmark after another.
    if (n > 1 && resto[1] == interleave) {
        resto.erase(resto.begin() + 1);
        --n;
        std::fprintf(stderr, "pavok-bench: this Google Benchmark runs repetitions in order, not interleaved\n");
    }
    if (benchmark::ReportUnrecognizedArguments(n, resto.data())) return 1;

    ApriFinestra();
    risultati["window.width"] = glutGet(GLUT_WINDOW_WIDTH);
    risultati["window.height"] = glutGet(GLUT_WINDOW_HEIGHT);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    risultati["window.viewport_height"] = viewport[3];

    // A peer that draws something else would time something else: no figures at all.
    if (const long diversi = ConfrontaPeer()) {
        std::fprintf(stderr,
                     "pavok-bench: the immediate-mode peer draws a different picture from the display "
                     "lists (%ld of %d pixels differ): its replay of a list finds the wrong body part, "
                     "or none\n",
                     diversi, w0 * h0);
        return 1;
    }
    RiportaAllInizio();
    ContaLavoro();
    ContaAllocazioni("frames", display, fotogrammi);
    ContaAllocazioni("floor", FrameVuoto, fotogrammi);  // what the clears and the swap alone cost
    risultati["allocs.frames.count"] = fotogrammi;
    if (!rapido) {
        ContaAllocazioni("salta", Salta, 1);
        ContaAllocazioni("corri", Corri, 1);
        ContaAllocazioni("cammina", Cammina, 1);
    }

    const double minimo = rapido ? 0.01 : 0.1;
    for (auto* b : {benchmark::RegisterBenchmark("Frame", Frame), benchmark::RegisterBenchmark("Floor", Floor),
                    benchmark::RegisterBenchmark("Immediate", Immediate)})
        b->UseRealTime()->MinTime(minimo)->Repetitions(ripetizioni)->Unit(benchmark::kMicrosecond);
    const int ripetizioniAnimazioni = rapido ? 1 : 5;
    for (auto* b : {benchmark::RegisterBenchmark("Salta", Animazione<Salta>),
                    benchmark::RegisterBenchmark("Corri", Animazione<Corri>),
                    benchmark::RegisterBenchmark("Cammina", Animazione<Cammina>)})
        b->UseRealTime()->Iterations(1)->Repetitions(ripetizioniAnimazioni)->Unit(benchmark::kMillisecond);

    Raccoglitore raccoglitore;
    benchmark::RunSpecifiedBenchmarks(&raccoglitore);
    benchmark::Shutdown();

    if (uscita != nullptr) {
        FILE* f = std::fopen(uscita, "w");
        if (f == nullptr) return 1;
        for (const auto& [chiave, valore] : risultati) std::fprintf(f, "%s %.6f\n", chiave.c_str(), valore);
        std::fprintf(f, "gl.renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        std::fclose(f);
    }
    return 0;
}
