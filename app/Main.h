// The main window TForm1: the five character buttons, the card, the menus.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

#include "lesson/card.h"
#include "lesson/lesson_tables.h"

class Canvas;
class ClientArea;
class QAction;
class QMenu;
class QMenuBar;
class TAboutDlg;
class TFrmPhrase;
class TImage;
class TLabel;
class TMemo;
class TPanel;
class TStatusBar;

inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 358;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    ClientArea* Client;  // the client area below the menu bar

    TPanel* Panel1;
    TPanel* Panel10;
    TPanel* Panel11;
    TPanel* Panel5;
    TPanel* Panel6;
    TPanel* Panel7;
    TImage* Image1;
    TImage* Image2;
    TImage* Image3;
    TImage* Image4;
    TImage* Image5;
    TPanel* Panel2;
    TImage* Image6;
    TImage* Image8;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TLabel* Label10;
    TMemo* Memo1;
    TStatusBar* StatusBar1;
    TPanel* Panel3;
    TLabel* LabelMyWeb;

    QMenuBar* MainMenu1;
    QMenu* File1;
    QAction* Exit1;
    QMenu* Lesson1;
    QMenu* chinese1;
    QMenu* StandardChinese1;
    std::vector<QAction*> volumeItems;  // the 21 volume items, all disabled
    std::vector<QAction*> lessonItems;  // a course's lessons in their stead (app/course.h)
    QAction* Search1;
    QMenu* Help1;
    QAction* HelpTopic1;
    QAction* N1;
    QAction* TallowFernHomePage1;
    QAction* About1;

    // Character button i (1-5) and its frame.
    TImage* CharacterButton(int i) const { return buttons_.at(static_cast<std::size_t>(i - 1)); }
    TPanel* CharacterFrame(int i) const { return frames_.at(static_cast<std::size_t>(i - 1)); }
    // The controls the card and the speaker fill.
    CardView Card() const;

    void FormCreate();
    void FormPaint(Canvas& canvas);

    // Shows lesson as if the program had started with it: its characters on
    // the buttons, an empty card, the phrase window hidden with nothing found,
    // Help Topic opening helpFile.
    void SwitchLesson(const LessonTables& lesson, const std::string& helpFile);

    void Image1Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();
    void Image8Click();
    void Image8MouseMove();
    void Label10Click();
    void Label10MouseEnter();
    void Label10MouseLeave();
    void Memo1MouseMove();
    void LabelMyWebClick();
    void LabelMyWebMouseMove();
    void LabelMyWebMouseLeave();
    void Exit1Click();
    void HelpTopic1Click();
    void TallowFernHomePage1Click();
    void About1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void FillLessonChars();
    void DrawButtons();

    std::array<TImage*, kLessonCharCount> buttons_{};
    std::array<TPanel*, kLessonCharCount> frames_{};
    bool centred_ = false;
    std::string helpFile_ = "tallowfern.chm";
};

extern TForm1* Form1;
extern TAboutDlg* AboutDlg;
