#include "app/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>

#include "app/About.h"
#include "app/home_page.h"
#include "app/pictures.h"
#include "app/runtime/canvas.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/product.h"
#include "app/runtime/runtime.h"
#include "data/lesson_file.h"
#include "glyph/glyph24.h"
#include "glyph/strokes.h"
#include "lesson/card.h"
#include "lesson/lesson_tables.h"
#include "lesson/speaker.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"

TForm1* Form1 = nullptr;

namespace {

constexpr Colour kButtonHighlight = RGB(255, 255, 255);
constexpr Colour kButtonFace = RGB(240, 240, 240);
constexpr Colour kWhite = RGB(255, 255, 255);
constexpr Colour kWindowText = RGB(0, 0, 0);
constexpr Colour kBottomBar = RGB(33, 7, 180);

struct Line {
    int x1, y1, x2, y2;
};

constexpr Line kSeparatorLines[] = {
    {132, 80, 627, 80}, {132, 120, 627, 120}, {132, 160, 627, 160},
    {1, 215, 627, 215}, {1, 260, 627, 260},   {1, 300, 627, 300},
};

struct Caption {
    const char* code;
    int x, y;
};

// 标准发音 拼音 笔划数 英语 组词 备注
constexpr Caption kCaptions[] = {
    {"\xB1\xEA", 139, 48},  {"\xD7\xBC", 163, 48}, {"\xB7\xA2", 187, 48},  {"\xD2\xF4", 211, 48},
    {"\xC6\xB4", 139, 88},  {"\xD2\xF4", 211, 88}, {"\xB1\xCA", 139, 128}, {"\xBB\xAE", 175, 128},
    {"\xCA\xFD", 211, 128}, {"\xD3\xA2", 10, 173}, {"\xD3\xEF", 35, 173},  {"\xD7\xE9", 10, 225},
    {"\xB4\xCA", 35, 225},  {"\xB1\xB8", 10, 270}, {"\xD7\xA2", 35, 270},
};

// LessonChars: the GB bytes of the lesson characters (大家学中文), zero-terminated.
static_assert(sizeof LessonChars == 2 * lesson_file::kLessonCodes.size() + 1);

// English captions of the card's rows: Label1 ... Label6.
struct EnglishCaption {
    const char* text;
    int left, top, width;
};

constexpr EnglishCaption kEnglishCaptions[] = {
    {"Standard Pronunciation", 240, 51, 180},
    {"pinyin", 240, 91, 59},
    {"Number of Strokes", 240, 131, 180},
    {"English", 65, 176, 62},
    {"Phrases", 65, 228, 62},
    {"Notes", 65, 273, 54},
};

constexpr int kStatusWidths[] = {50, 55, 100, 50, 117, 100, 50, 50};

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("TallowFern demo");
    setWindowIcon(QPixmap::fromImage(ProgramIcon()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(SansFont(16, true));
    CreateMenu();
    CreateControls();
    adjustSize();
    setFixedSize(sizeHint());
    FormCreate();
}

void TForm1::CreateControls() {
    Client = new ClientArea(this, kButtonHighlight);
    Client->setObjectName("Client");
    Client->setFixedSize(kClientWidth, kClientHeight);
    Client->onPaint = [this](Canvas& canvas) { FormPaint(canvas); };
    setCentralWidget(Client);

    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(name);
        return widget;
    };

    TLabel** english[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    for (std::size_t i = 0; i < std::size(kEnglishCaptions); ++i) {
        const EnglishCaption& c = kEnglishCaptions[i];
        auto* label = new TLabel(Client, c.left, c.top, c.text, 16, false, kWindowText);
        label->SetFixedGeometry(c.width, 24);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        *english[i] = label;
    }
    Label7 = named(new TLabel(Client, 348, 88, "", 16, true, kBlue), "Label7");
    Label8 = named(new TLabel(Client, 448, 133, "", 16, true, kBlue), "Label8");
    Label8->SetOpaque(kButtonHighlight);
    Label10 = named(
        new TLabel(Client, 135, 228, "       click here to Get Phrases       ", 16, false, kWhite),
        "Label10");
    Label10->SetFixedGeometry(233, 20);
    Label10->setAlignment(Qt::AlignCenter);
    Label10->SetOpaque(kSeparator);

    Panel1 = named(new TPanel(Client, 0, 0, kClientWidth, 31, kWhite), "Panel1");
    const char* frameNames[] = {"Panel10", "Panel11", "Panel5", "Panel6", "Panel7"};
    const int frameLefts[] = {0, 44, 88, 132, 177};
    TPanel** frames[] = {&Panel10, &Panel11, &Panel5, &Panel6, &Panel7};
    TImage** images[] = {&Image1, &Image2, &Image3, &Image4, &Image5};
    for (int i = 0; i < kLessonCharCount; ++i) {
        auto* frame =
            named(new TPanel(Panel1, frameLefts[i], 1, 28, 28, kButtonFace), frameNames[i]);
        auto* image = new TImage(frame, 1, 1, 26, 26);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        *frames[i] = frame;
        *images[i] = image;
        frames_[static_cast<std::size_t>(i)] = frame;
        buttons_[static_cast<std::size_t>(i)] = image;
    }

    Panel2 = named(new TPanel(Client, 0, 33, kStrokeFrameSize, kStrokeFrameSize, kWhite), "Panel2");
    Image6 =
        named(new TImage(Panel2, 0, kStrokePictureTop, kStrokePictureWidth, kStrokePictureHeight),
              "Image6");

    Image8 = named(new TImage(Client, 448, 52, 22, 22), "Image8");
    Image8->SetPicture(SpeakerPicture());
    Image8->setEnabled(false);

    Memo1 = named(NewCardMemo(Client, kBlue), "Memo1");

    StatusBar1 =
        named(new TStatusBar(Client, 0, 311, kClientWidth, 19,
                             std::vector<int>(std::begin(kStatusWidths), std::end(kStatusWidths))),
              "StatusBar1");
    StatusBar1->setFont(SansFont(11, false));

    Panel3 = named(new TPanel(Client, 0, 330, kClientWidth, 28, kBottomBar), "Panel3");
    Panel3->setFont(SansFont(11, false));
    QPalette white = Panel3->palette();
    white.setColor(QPalette::WindowText, ToQColor(kWhite));
    Panel3->setPalette(white);
    Panel3->SetCaption(kCopyright);
    LabelMyWeb = named(
        new TLabel(Panel3, 464, 8, QString::fromStdString(UnmaskHomePage()), 11, false, kWhite),
        "LabelMyWeb");
    LabelMyWeb->SetFixedGeometry(140, 13);

    // Character buttons: one handler body, a row each.
    void (TForm1::*clicks[])() = {&TForm1::Image1Click, &TForm1::Image2Click, &TForm1::Image3Click,
                                  &TForm1::Image4Click, &TForm1::Image5Click};
    for (int i = 0; i < kLessonCharCount; ++i) {
        connect(buttons_[static_cast<std::size_t>(i)], &TImage::Click, this, clicks[i]);
    }
    connect(Image8, &TImage::Click, this, &TForm1::Image8Click);
    connect(Image8, &TImage::MouseMove, this, &TForm1::Image8MouseMove);
    connect(Label10, &TLabel::Click, this, &TForm1::Label10Click);
    connect(Label10, &TLabel::MouseEnter, this, &TForm1::Label10MouseEnter);
    connect(Label10, &TLabel::MouseLeave, this, &TForm1::Label10MouseLeave);
    connect(Memo1, &TMemo::MouseMove, this, &TForm1::Memo1MouseMove);
    connect(LabelMyWeb, &TLabel::Click, this, &TForm1::LabelMyWebClick);
    connect(LabelMyWeb, &TLabel::MouseMove, this, &TForm1::LabelMyWebMouseMove);
    connect(LabelMyWeb, &TLabel::MouseLeave, this, &TForm1::LabelMyWebMouseLeave);
}

void TForm1::CreateMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    setMenuBar(MainMenu1);

    auto action = [](QMenu* menu, const char* name, const char* caption, bool enabled) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(name);
        a->setEnabled(enabled);
        return a;
    };

    File1 = MainMenu1->addMenu("&File");
    File1->setObjectName("File1");
    Exit1 = action(File1, "Exit1", "Exit", true);

    Lesson1 = MainMenu1->addMenu("&Lesson");
    Lesson1->setObjectName("Lesson1");
    chinese1 = Lesson1->addMenu("<chinese>");
    chinese1->setObjectName("chinese1");
    for (int v = 1; v <= 12; ++v) {
        QAction* a = chinese1->addAction(QStringLiteral("volume%1").arg(v));
        a->setObjectName(QStringLiteral("volume%1").arg(v) + QLatin1Char('1'));
        a->setEnabled(false);
        volumeItems.push_back(a);
    }
    StandardChinese1 = Lesson1->addMenu("<Standard Chinese>");
    StandardChinese1->setObjectName("StandardChinese1");
    for (int v = 1; v <= 9; ++v) {
        QAction* a = StandardChinese1->addAction(QStringLiteral("volume%1").arg(v));
        a->setObjectName(v == 9 ? QStringLiteral("volume1")
                                : QStringLiteral("volume%1").arg(v) + QLatin1Char('2'));
        a->setEnabled(false);
        volumeItems.push_back(a);
    }

    Search1 = MainMenu1->addAction("Search");
    Search1->setObjectName("Search1");
    Search1->setEnabled(false);

    Help1 = MainMenu1->addMenu("&Help");
    Help1->setObjectName("Help1");
    HelpTopic1 = action(Help1, "HelpTopic1", "Help Topic", true);
    N1 = Help1->addSeparator();
    N1->setObjectName("N1");
    TallowFernHomePage1 = action(Help1, "TallowFernHomePage1", "TallowFern Home Page", true);
    About1 = action(Help1, "About1", "About", true);

    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(HelpTopic1, &QAction::triggered, this, &TForm1::HelpTopic1Click);
    connect(TallowFernHomePage1, &QAction::triggered, this, &TForm1::TallowFernHomePage1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// The run ends when the main window closes, whatever other window is open.
void TForm1::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) TerminateApplication();
}

CardView TForm1::Card() const {
    return {frames_, Image6, Image8, Label7, Label8, Memo1};
}

void TForm1::FillLessonChars() {
    const lesson_file::LessonCodes& codes = *ShownLesson().codes;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        LessonChars[2 * i] = static_cast<char>(codes[i] >> 8);
        LessonChars[2 * i + 1] = static_cast<char>(codes[i] & 0xFF);
    }
}

void TForm1::FormCreate() {
    FillLessonChars();
    for (int i = 0; i <= 4; ++i) StatusBar1->SetPanelText(i, QString());
    StatusBar1->SetPanelText(5, QStringLiteral("now ") + DateToStr(Date()));
    StatusBar1->SetPanelText(6, QString());
}

void TForm1::FormPaint(Canvas& canvas) {
    Memo1->HideCaret();
    canvas.pen.style = PenStyle::Solid;
    canvas.pen.width = 2;
    canvas.pen.colour = kSeparator;
    for (const Line& line : kSeparatorLines) {
        canvas.MoveTo(line.x1, line.y1);
        canvas.LineTo(line.x2, line.y2);
    }
    for (const Caption& caption : kCaptions) {
        DrawGlyph24(caption.x, caption.y, caption.code, canvas, kBlue);
    }
    DrawButtons();
}

void TForm1::DrawButtons() {
    for (int i = 1; i <= kLessonCharCount; ++i) {
        TImage* button = CharacterButton(i);
        DrawGlyph24(1, 1, LessonChars + 2 * (i - 1), button->GetCanvas(), kRed);
        button->update();
    }
}

void TForm1::SwitchLesson(const LessonTables& lesson, const std::string& helpFile) {
    ClearPhraseWindow();
    ClearCard(Card());
    Image8->SetPicture(SpeakerPicture());
    ShowLesson(lesson);
    helpFile_ = helpFile;
    FillLessonChars();
    for (TImage* button : buttons_) button->ClearPicture();
    // A window not shown yet draws them at its first paint, as at start.
    if (isVisible()) DrawButtons();
}

void TForm1::Image1Click() {
    CardButtonClick(Card(), 1);
}
void TForm1::Image2Click() {
    CardButtonClick(Card(), 2);
}
void TForm1::Image3Click() {
    CardButtonClick(Card(), 3);
}
void TForm1::Image4Click() {
    CardButtonClick(Card(), 4);
}
void TForm1::Image5Click() {
    CardButtonClick(Card(), 5);
}

void TForm1::Image8Click() {
    SpeakerClick();
}
void TForm1::Image8MouseMove() {
    SpeakerMouseMove(Card());
}
void TForm1::Label10Click() {
    PhraseSearchClick();
}

void TForm1::Label10MouseEnter() {
    SetScreenCursor(kCursorHandPoint);
}
void TForm1::Label10MouseLeave() {
    SetScreenCursor(kCursorDefault);
}

void TForm1::Memo1MouseMove() {
    Memo1->ShowVerticalScrollBar();
    Memo1->HideCaret();
}

void TForm1::LabelMyWebClick() {
    ShellOpen(UnmaskHomePage());
}
void TForm1::TallowFernHomePage1Click() {
    ShellOpen(UnmaskHomePage());
}

void TForm1::LabelMyWebMouseMove() {
    LabelMyWeb->SetBold(true);
    SetScreenCursor(kCursorHandPoint);
}

void TForm1::LabelMyWebMouseLeave() {
    SetScreenCursor(kCursorArrow);
    LabelMyWeb->SetBold(false);
}

void TForm1::Exit1Click() {
    TerminateApplication();
}
void TForm1::HelpTopic1Click() {
    ShellOpen(helpFile_);
}

void TForm1::About1Click() {
    AboutDlg->show();
    AboutDlg->raise();
    AboutDlg->activateWindow();
}
