// A course made from the default lesson: lesson 1 is it, lesson 2 its
// characters backwards (文中学家大) with the stroke-order records reversed in
// dat/zw-002.dat of the test's run folder. The Lesson menu, the switch (also
// during an animation and over the phrase window), the lesson remembered.
#include "app/course.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "app/Main.h"
#include "app/pictures.h"
#include "app/program.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "glyph/strokes.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"
#include "tests/support/child_run.h"
#include "tests/support/font_record.h"
#include "tests/support/ink.h"
#include "tests/support/window_glyphs.h"
#include "tests/support/windows.h"

// The course's tables as the builder writes them.
namespace {
const lesson_file::LessonCodes codes2 = {0xCEC4, 0xD6D0, 0xD1A7, 0xBCD2, 0xB4F3};
const CourseLesson lessons[] = {
    {{&lesson_file::kLessonCodes, &CharIndexTable, &VoiceDirectory, "dat/zw.dat"},
     "tallowfern.chm",
     "Lesson 1: da jia xue zhong wen"},
    {{&codes2, &CharIndexTable, &VoiceDirectory, "dat/zw-002.dat"},
     "help/lesson-002.chm",
     "Lesson 2: wen zhong xue jia da"},
};
}  // namespace
const Course kCourse = {"First lessons", "first-lessons", lessons};

class CourseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuListsTheLessons();
    void manyLessonsGoIntoSubmenusOfTwelve();
    void choosingALessonShowsItAsAtStart();
    void aSwitchStopsTheAnimation();
    void aSwitchHidesThePhraseWindowAndItsWords();
    void aDamagedSettingOpensLessonOne();
    void theCourseOpensAtTheLessonChosenLast();

private:
    void CheckEmptyCard();

    QTemporaryDir run_;
    QString settings_;
    TForm1* form_ = nullptr;
    std::vector<std::string> messages_, opened_;
    std::uint32_t now_ = 0;
};

void CourseTest::initTestCase() {
    const QString built = QFileInfo("dat/zw.dat").canonicalFilePath();
    QFile in(built);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray head = in.read(lesson_file::kDictionaryOffset);
    QByteArray reversed = head;
    const int at = lesson_file::kStrokeOrderOffset, size = lesson_file::kStrokeOrderRecordSize;
    for (int slot = 0; slot < 5; ++slot)
        reversed.replace(at + size * slot, size, head.mid(at + size * (4 - slot), size));
    QVERIFY(QDir(run_.path()).mkpath("dat"));
    QFile out(run_.path() + "/dat/zw-002.dat");
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(reversed) == reversed.size());
    out.close();
    for (const char* file : {"dat/zw.dat", "dat/hzk24k.dat", "speaker1.bmp"})
        QVERIFY(QFile::link(QFileInfo(built).path() + "/../" + file, run_.path() + "/" + file));
    QVERIFY(QDir::setCurrent(run_.path()));
    settings_ =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "TallowFern", "course-first-lessons")
            .fileName();
}

void CourseTest::init() {
    SetClock({.ticks = [this] { return now_ += kStrokeWaitMs; }});
    SetShellOpenHandler([this](const std::string& target) { opened_.push_back(target); });
    ShowLesson(kCourse.lessons[0].tables);
    form_ = OpenMainWindow(messages_, AlsoCreate::PhraseWindow);
    QVERIFY(form_);
    OpenCourse(*form_, kCourse, 1);
}

void CourseTest::cleanup() {
    CloseMainWindow();
    SetClock({});
    SetShellOpenHandler({});
    ShowLesson(LessonTables{});
    QFile::remove(settings_);
}

void CourseTest::CheckEmptyCard() {
    QVERIFY(form_->Label7->text().isEmpty() && form_->Label8->text().isEmpty());
    QVERIFY(form_->Memo1->Lines().isEmpty() && !form_->Image8->isEnabled());
    QCOMPARE(InkPixels(form_->Image6->Picture()), 0);
    for (int i = 1; i <= 5; ++i) QCOMPARE(form_->CharacterFrame(i)->BevelOuter(), Bevel::Raised);
    QCOMPARE(form_->Image8->Picture(), SpeakerPicture().convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(CardReady, std::uint8_t{1});
}

void CourseTest::menuListsTheLessons() {
    const QList<QAction*> items = form_->Lesson1->actions();
    QCOMPARE(items, QList<QAction*>(form_->lessonItems.begin(), form_->lessonItems.end()));
    QCOMPARE(items.size(), 2);
    QVERIFY(items[0]->isEnabled() && items[1]->isEnabled() && !form_->Search1->isEnabled());
    QCOMPARE(items[1]->text(), QString("Lesson 2: wen zhong xue jia da"));
    QCOMPARE(form_->windowTitle(),
             QString::fromUtf8("TallowFern: First lessons — Lesson 1: da jia xue zhong wen"));
    QVERIFY(!QFile::exists(settings_));  // written when a lesson is chosen
}

void CourseTest::manyLessonsGoIntoSubmenusOfTwelve() {
    std::vector<std::string> texts;
    for (int i = 1; i <= 25; ++i) texts.push_back("Lesson " + std::to_string(i) + ": wen");
    std::vector<CourseLesson> many;
    for (const std::string& text : texts) many.push_back({{}, "none.chm", text.c_str()});
    const Course course{"Many lessons", "many-lessons", many};
    TForm1 form;
    OpenCourse(form, course, 25);
    const QList<QAction*> groups = form.Lesson1->actions();
    QCOMPARE(groups.size(), 3);
    const char* titles[] = {"Lessons 1–12", "Lessons 13–24", "Lesson 25"};
    for (int g = 0; g < 3; ++g) {
        QCOMPARE(groups[g]->text(), QString::fromUtf8(titles[g]));
        const QList<QAction*> items = groups[g]->menu()->actions();
        QCOMPARE(items.size(), g < 2 ? 12 : 1);
        for (int i = 0; i < items.size(); ++i)
            QVERIFY(items[i] == form.lessonItems.at(std::size_t(12 * g + i)) &&
                    items[i]->isEnabled());
    }
    QCOMPARE(form.lessonItems[12]->text(), QString("Lesson 13: wen"));
    QCOMPARE(form.windowTitle(), QString::fromUtf8("TallowFern: Many lessons — Lesson 25: wen"));
}

void CourseTest::choosingALessonShowsItAsAtStart() {
    QTest::mouseClick(form_->Image1, Qt::LeftButton);  // 大's card, the speaker hovered
    QTest::mouseMove(form_, form_->Image8->mapTo(form_, QPoint(5, 5)));
    QTRY_VERIFY(form_->Image8->Picture() !=
                SpeakerPicture().convertToFormat(QImage::Format_ARGB32));
    form_->lessonItems[1]->trigger();
    QCOMPARE(ShownLesson().codes, &codes2);
    QCOMPARE(ShownLesson().path, "dat/zw-002.dat");
    QCOMPARE(form_->windowTitle(),
             QString::fromUtf8("TallowFern: First lessons — Lesson 2: wen zhong xue jia da"));
    CheckEmptyCard();
    QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("lesson").toInt(), 2);
    QCOMPARE(RememberedLesson(kCourse), 2);
    for (int i = 1; i <= 5; ++i) {  // 文中学家大, each on a cleared picture
        const std::vector<std::uint8_t> record = FontRecord("dat/hzk24k.dat", kLessonCodes[5 - i]);
        const QImage picture = form_->CharacterButton(i)->Picture();
        for (int column = 0; column < 24; ++column)
            for (int row = 0; row < 24; ++row)
                QCOMPARE(picture.pixel(1 + column, 1 + row) == qRgb(255, 0, 0),
                         Ink(record, column, row));
    }
    QTest::mouseClick(form_->Image1, Qt::LeftButton);  // 文 from lesson 2's stroke orders
    QCOMPARE(form_->Label7->text(), QString("wen2"));
    QCOMPARE(form_->Label8->text(), QString("4"));
    QVERIFY(InkPixels(form_->Image6->Picture()) > 100);
    form_->HelpTopic1->trigger();
    QCOMPARE(opened_, std::vector<std::string>{"help/lesson-002.chm"});
    QVERIFY(messages_.empty());
}

void CourseTest::aSwitchStopsTheAnimation() {
    bool switched = false;
    QObject timers;
    QTimer::singleShot(0, &timers, [&] {
        QCOMPARE(CardReady, std::uint8_t{0});  // 家 is being written
        QVERIFY(InkPixels(form_->Image6->Picture()) > 0);
        form_->lessonItems[1]->trigger();
        switched = true;
    });
    QTest::mouseClick(form_->Image2, Qt::LeftButton);
    QVERIFY(switched);
    CheckEmptyCard();
    QCOMPARE(ShownLesson().codes, &codes2);
}

void CourseTest::aSwitchHidesThePhraseWindowAndItsWords() {
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    bool hidden = false;
    QObject timers;
    QTimer::singleShot(0, &timers, [&] {
        QTest::mouseClick(FrmPhrase->Image1, Qt::LeftButton);
        QVERIFY(!FrmPhrase->Label4->text().isEmpty());
        form_->lessonItems[1]->trigger();
        hidden = !FrmPhrase->isVisible();
        if (!hidden) FrmPhrase->reject();
    });
    QTest::mouseClick(form_->Label10, Qt::LeftButton);  // the phrase window's run
    QVERIFY(hidden && !PhraseSelected && PhraseWords[0][0] == '\0');
    QVERIFY(FrmPhrase->Label4->text().isEmpty() && FrmPhrase->Memo1->Lines().isEmpty());
    QTimer::singleShot(0, &timers, [] {  // the next search is of 文
        QCOMPARE(std::string(PhraseWords[0], 2), std::string(kLessonCodes[4]));
        FrmPhrase->reject();
    });
    QTest::mouseClick(form_->Label10, Qt::LeftButton);
    QVERIFY(messages_.empty());
}

void CourseTest::aDamagedSettingOpensLessonOne() {
    for (const char* value : {"2", "abc", "0", "3", "-1", "2x", ""}) {
        QSettings(settings_, QSettings::IniFormat).setValue("lesson", value);
        QCOMPARE(RememberedLesson(kCourse), std::strcmp(value, "2") == 0 ? 2 : 1);
    }
    QFile file(settings_);
    const QByteArray junk = QByteArray("\x89PNG\r\n\x1A\n") + QByteArray(40, '\0');
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(junk) == junk.size());
    file.close();
    QCOMPARE(RememberedLesson(kCourse), 1);
}

// The course's program run twice: lesson 2 chosen in the first run opens the
// second. The default program writes no file.
void CourseTest::theCourseOpensAtTheLessonChosenLast() {
    for (const char* path : {"dat/zw.dat\n", "dat/zw-002.dat\n"}) {
        const ChildRun run = RunChild("--child-course", run_.path(), 20000);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QString(path));
    }
    QTemporaryDir config;
    const ChildRun run =
        RunChild("--child-default", run_.path(), 20000, {"XDG_CONFIG_HOME=" + config.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QDir(config.path()).isEmpty());
}

static int ChildMain(char** argv) {
    SetMessageSink([](const std::string& text) { std::printf("message: %s\n", text.c_str()); });
    auto chooseAndExit = [] {
        QTimer::singleShot(0, [] {
            if (!Form1->lessonItems.empty()) {
                std::printf("%s\n", ShownLesson().path);
                Form1->lessonItems[1]->trigger();
            }
            Form1->Exit1->trigger();
        });
    };
    if (std::strcmp(argv[1], "--child-course") == 0)
        return RunCourse(1, argv, kCourse, chooseAndExit);
    return RunProgram(1, argv, chooseAndExit);
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], "--child-", 8) == 0) return ChildMain(argv);
    QTemporaryDir config;  // the settings files, the child runs' too
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    CourseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "course_test.moc"
