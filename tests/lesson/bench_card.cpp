// The card of each lesson character on the built data, offscreen unless
// QT_QPA_PLATFORM says otherwise. Runs in the program's run folder.
//
// BM_ClickToFirstStroke: a real click on the character button until the first
// contour is filled (dictionary scan, memo, outline read and parse, stroke-order
// decryption, one fill). The time stops at the first reading of the stroke
// clock, which follows the fill; the later pauses take no time.
// BM_AnimatorToFirstStroke, BM_DictionaryScan: the two halves without the GUI;
// BM_SectionReadBaseline: reading the whole dictionary section and finding its
// newlines, the least a scan to its end costs.
// BM_JiaAnimationCpu: the whole animation of 家 on the real clock, once; the
// counters give its processor time (getrusage and the process CPU clock)
// against its wall time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/runtime/canvas.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "lesson/card.h"
#include "tests/support/section_read.h"

namespace {

using Clock = std::chrono::steady_clock;

struct LessonChar {
    const char* code;
    const char* pinyin;
    int strokes;
};

const LessonChar kChars[] = {
    {"\xB4\xF3", "da4", 3},    {"\xBC\xD2", "jia1", 10}, {"\xD1\xA7", "xue2", 8},
    {"\xD6\xD0", "zhong1", 4}, {"\xCE\xC4", "wen2", 4},
};

std::vector<std::string> messages;

TForm1& Window() {
    static TForm1* form = [] {
        Form1 = new TForm1;
        Form1->show();
        if (!QTest::qWaitForWindowExposed(Form1)) std::fprintf(stderr, "window not exposed\n");
        return Form1;
    }();
    return *form;
}

std::uint16_t Code(const char* c) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(c[0]) * 256 +
                                      static_cast<unsigned char>(c[1]));
}

bool CardIsRight(benchmark::State& state, const LessonChar& c) {
    TForm1& form = Window();
    if (!messages.empty()) {
        state.SkipWithError(("message: " + messages.front()).c_str());
        return false;
    }
    if (form.Label7->text() != QLatin1String(c.pinyin) ||
        form.Label8->text() != QString::number(c.strokes)) {
        state.SkipWithError("wrong card");
        return false;
    }
    return true;
}

void BM_ClickToFirstStroke(benchmark::State& state) {
    const int button = static_cast<int>(state.range(0));
    const LessonChar& c = kChars[button - 1];
    TForm1& form = Window();
    messages.clear();
    Clock::time_point firstStroke;
    bool stamped = false;
    std::uint32_t ticks = 0;
    // Every reading of the clock is a whole pause later.
    SetClock({.ticks = [&] {
        if (!stamped) {
            firstStroke = Clock::now();
            stamped = true;
        }
        return ticks += kStrokeWaitMs;
    }});
    for (auto _ : state) {
        stamped = false;
        const Clock::time_point click = Clock::now();
        QTest::mouseClick(form.CharacterButton(button), Qt::LeftButton);
        if (!stamped) {
            state.SkipWithError("no stroke drawn");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(firstStroke - click).count());
    }
    SetClock({});
    if (CardIsRight(state, c)) state.SetLabel(c.pinyin);
}
BENCHMARK(BM_ClickToFirstStroke)->DenseRange(1, 5)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_AnimatorToFirstStroke(benchmark::State& state) {
    const LessonChar& c = kChars[state.range(0) - 1];
    QImage picture(129, 133, QImage::Format_ARGB32);
    Canvas canvas(picture);
    messages.clear();
    int strokes = 0;
    for (auto _ : state) {
        picture.fill(Qt::transparent);
        strokes = AnimateStrokes(canvas, Code(c.code), CharIndexTable, lesson_file::kPath, [] {
                      return false;
                  }).strokes;
        benchmark::DoNotOptimize(picture.constBits());
    }
    if (strokes != c.strokes || !messages.empty()) state.SkipWithError("wrong stroke count");
    state.SetLabel(c.pinyin);
}
BENCHMARK(BM_AnimatorToFirstStroke)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);

// The card's scan as a click runs it: open, seek, FindCardRecord, close. Range
// 1-5: the lesson characters; 0: a code with no record of its own (the scan
// reads the whole section), beside BM_SectionReadBaseline.
void BM_DictionaryScan(benchmark::State& state) {
    const char kNoRecord[] = "\xA1\xA1";  // the ideographic space
    const char* code = state.range(0) == 0 ? kNoRecord : kChars[state.range(0) - 1].code;
    bool found = false;
    for (auto _ : state) {
        std::FILE* stream = std::fopen(lesson_file::kPath, "rb");
        if (stream == nullptr) break;
        std::fseek(stream, lesson_file::kDictionaryOffset, SEEK_SET);
        found = FindCardRecord(stream, code);
        std::fclose(stream);
        benchmark::DoNotOptimize(CardLine);
    }
    if (found != (state.range(0) != 0)) state.SkipWithError("wrong record");
    state.SetLabel(state.range(0) == 0 ? "no record" : kChars[state.range(0) - 1].pinyin);
}
BENCHMARK(BM_DictionaryScan)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// Open, seek, read the whole section in 64 KiB blocks and find every newline.
void BM_SectionReadBaseline(benchmark::State& state) {
    SectionRead read;
    for (auto _ : state) {
        if (!ReadDictionarySection(lesson_file::kPath, read)) break;
        benchmark::DoNotOptimize(read.lines);
    }
    state.counters["lines"] = static_cast<double>(read.lines);
}
BENCHMARK(BM_SectionReadBaseline)->Unit(benchmark::kMicrosecond);

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double RusageSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

void BM_JiaAnimationCpu(benchmark::State& state) {
    const LessonChar& c = kChars[1];
    TForm1& form = Window();
    SetClock({});
    messages.clear();
    double cpu = 0, rusageCpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const double rusage0 = RusageSeconds();
        const Clock::time_point wall0 = Clock::now();
        QTest::mouseClick(form.Image2, Qt::LeftButton);
        wall += std::chrono::duration<double>(Clock::now() - wall0).count();
        rusageCpu += RusageSeconds() - rusage0;
        cpu += ProcessCpuSeconds() - cpu0;
    }
    if (!CardIsRight(state, c)) return;
    const auto n = static_cast<double>(state.iterations());
    state.counters["wall_s"] = wall / n;
    state.counters["cpu_ms"] = 1e3 * cpu / n;
    state.counters["rusage_cpu_ms"] = 1e3 * rusageCpu / n;
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.SetLabel(c.pinyin);
}
BENCHMARK(BM_JiaAnimationCpu)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (chdir(TF_RUN_DIR) != 0) {
        std::perror(TF_RUN_DIR);
        return 1;
    }
    QApplication app(argc, argv);
    SetMessageSink([](const std::string& text) { messages.push_back(text); });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Form1;
    Form1 = nullptr;
    return 0;
}
