// A course's switch between two lessons: BM_SwitchLesson triggers the other
// lesson's item of the Lesson menu and grabs the window (a whole paint, the
// new buttons in it); BM_PaintBaseline grabs it alone. Offscreen unless
// QT_QPA_PLATFORM says otherwise, in the program's run folder, the settings
// file in a temporary folder. Run by hand: build/tests/app/bench_course_switch
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/Main.h"
#include "app/course.h"
#include "app/runtime/runtime.h"
#include "phrase/Phrase.h"

namespace {

// The default lesson and its characters backwards: every button changes.
const lesson_file::LessonCodes kBackwards = {0xCEC4, 0xD6D0, 0xD1A7, 0xBCD2, 0xB4F3};
const CourseLesson kLessons[] = {
    {{}, "tallowfern.chm", "Lesson 1: da jia xue zhong wen"},
    {{&kBackwards, &CharIndexTable, &VoiceDirectory, lesson_file::kPath},
     "tallowfern.chm",
     "Lesson 2: wen zhong xue jia da"},
};

void BM_SwitchLesson(benchmark::State& state) {
    std::size_t next = 1;
    for (auto _ : state) {
        Form1->lessonItems[next]->trigger();
        benchmark::DoNotOptimize(Form1->grab());
        next = 1 - next;
    }
}
BENCHMARK(BM_SwitchLesson)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PaintBaseline(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Form1->grab());
}
BENCHMARK(BM_PaintBaseline)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

const Course kCourse = {"Benchmark", "benchmark", kLessons};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    if (chdir(TF_RUN_DIR) != 0) return 1;
    QApplication app(argc, argv);
    SetMessageSink(
        [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });
    Form1 = new TForm1;
    FrmPhrase = new TFrmPhrase;
    OpenCourse(*Form1, kCourse, 1);
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1)) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete FrmPhrase;
    delete Form1;
    return 0;
}
