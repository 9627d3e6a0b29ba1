#include "app/course.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <algorithm>

#include "app/Main.h"
#include "app/program.h"

namespace {

constexpr std::size_t kLessonsPerSubmenu = 12;

// The course's settings file: written only when a lesson is chosen.
QString SettingsName(const Course& course) {
    return QStringLiteral("course-") + QString::fromUtf8(course.name);
}

void RememberLesson(const Course& course, int number) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "TallowFern",
                       SettingsName(course));
    settings.setValue("lesson", number);
    settings.sync();
}

void ShowCourseLesson(TForm1& form, const Course& course, int number) {
    const CourseLesson& lesson = course.lessons[static_cast<std::size_t>(number - 1)];
    form.SwitchLesson(lesson.tables, lesson.helpFile);
    form.setWindowTitle(QStringLiteral("TallowFern: ") + QString::fromUtf8(course.title) +
                        QStringLiteral(" \u2014 ") + QString::fromUtf8(lesson.menuText));
}

QString SubmenuTitle(std::size_t first, std::size_t last) {
    if (first == last) return QStringLiteral("Lesson %1").arg(first);
    return QStringLiteral("Lessons %1\u2013%2").arg(first).arg(last);
}

}  // namespace

int RememberedLesson(const Course& course) {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, "TallowFern",
                             SettingsName(course));
    bool number = false;
    const int lesson = settings.value("lesson").toString().toInt(&number);
    return number && lesson >= 1 && static_cast<std::size_t>(lesson) <= course.lessons.size()
               ? lesson
               : 1;
}

void OpenCourse(TForm1& form, const Course& course, int number) {
    delete form.chinese1;
    delete form.StandardChinese1;
    form.chinese1 = nullptr;
    form.StandardChinese1 = nullptr;
    form.volumeItems.clear();

    const std::size_t count = course.lessons.size();
    if (number < 1 || static_cast<std::size_t>(number) > count) number = 1;
    QMenu* menu = form.Lesson1;
    for (std::size_t i = 0; i < count; ++i) {
        if (count > kLessonsPerSubmenu && i % kLessonsPerSubmenu == 0) {
            const std::size_t last = std::min(i + kLessonsPerSubmenu, count);
            menu = form.Lesson1->addMenu(SubmenuTitle(i + 1, last));
            menu->setObjectName(QStringLiteral("LessonGroup%1").arg(i / kLessonsPerSubmenu + 1));
        }
        QString text = QString::fromUtf8(course.lessons[i].menuText);
        QAction* item = menu->addAction(text.replace('&', QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("LessonItem%1").arg(i + 1));
        const int chosen = static_cast<int>(i + 1);
        QObject::connect(item, &QAction::triggered, &form, [&form, &course, chosen] {
            ShowCourseLesson(form, course, chosen);
            RememberLesson(course, chosen);
        });
        form.lessonItems.push_back(item);
    }
    ShowCourseLesson(form, course, number);
}

int RunCourse(int argc, char** argv, const Course& course, const std::function<void()>& started) {
    if (course.lessons.empty()) return RunProgram(argc, argv, started);
    int number = 1;
    return RunProgram(
        argc, argv,
        [&] {
            number = RememberedLesson(course);
            ShowLesson(course.lessons[static_cast<std::size_t>(number - 1)].tables);
        },
        [&] {
            OpenCourse(*Form1, course, number);
            if (started) started();
        });
}
