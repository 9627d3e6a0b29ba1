#include "phrase/Phrase.h"

#include <QImage>
#include <QKeyEvent>
#include <QShowEvent>
#include <cstring>
#include <string>

#include "app/runtime/canvas.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/dictionary.h"
#include "glyph/glyph24.h"
#include "lesson/voice.h"
#include "phrase/phrase_search.h"
#include "phrase/resources/arrow_left.xpm"
#include "phrase/resources/arrow_right.xpm"
#include "phrase/resources/speaker_blue.xpm"

TFrmPhrase* FrmPhrase = nullptr;
int PhraseCount = 0;
int PhrasePage = 0;
bool PhraseSelected = false;
char PhrasePinyin[65] = {};
char PhraseMeaning[177] = {};

namespace {

constexpr Colour kBackground = RGB(255, 255, 255);
constexpr Colour kPanelFace = RGB(240, 240, 240);
constexpr Colour kText = RGB(0, 0, 0);
constexpr int kPanelLefts[kPhrasesPerPage] = {40, 135, 230, 327, 426};
constexpr int kLineRows[] = {50, 100, 155};

}  // namespace

TFrmPhrase::TFrmPhrase(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmPhrase");
    setWindowTitle("FrmPhrase");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(SansFont(16, true));
    setFixedSize(552, 235);
    move(193, 192);

    Client = new ClientArea(this, kBackground);
    Client->setGeometry(0, 0, 552, 235);
    Client->onPaint = [this](Canvas& canvas) { FormPaint(canvas); };

    SpeedButton1 = new TSpeedButton(Client, 8, 8, 25, 25, QImage(arrow_left_xpm));
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton2 = new TSpeedButton(Client, 520, 8, 25, 25, QImage(arrow_right_xpm));
    SpeedButton2->setObjectName("SpeedButton2");

    TPanel** panels[] = {&Panel2, &Panel3, &Panel4, &Panel5, &Panel6};
    TImage** images[] = {&Image1, &Image2, &Image3, &Image4, &Image5};
    void (TFrmPhrase::*clicks[])() = {&TFrmPhrase::Image1Click, &TFrmPhrase::Image2Click,
                                      &TFrmPhrase::Image3Click, &TFrmPhrase::Image4Click,
                                      &TFrmPhrase::Image5Click};
    for (int r = 0; r < kPhrasesPerPage; ++r) {
        auto* panel = new TPanel(Client, kPanelLefts[r], 6, 83, 29, kPanelFace);
        panel->setObjectName(QStringLiteral("Panel%1").arg(r + 2));
        auto* image = new TImage(panel, 1, 1, 81, 27);
        image->setObjectName(QStringLiteral("Image%1").arg(r + 1));
        connect(image, &TImage::Click, this, clicks[r]);
        *panels[r] = panels_[static_cast<std::size_t>(r)] = panel;
        *images[r] = words_[static_cast<std::size_t>(r)] = image;
    }

    Label1 = new TLabel(Client, 16, 69, "Standard Pronunciation", 16, false, kText);
    Label1->setObjectName("Label1");
    Image6 = new TImage(Client, 232, 68, 22, 22);
    Image6->setObjectName("Image6");
    Image6->SetPicture(QImage(speaker_blue_xpm));
    Label2 = new TLabel(Client, 16, 116, "PingYin", 16, false, kText);
    Label2->setObjectName("Label2");
    Label4 = new TLabel(Client, 103, 116, "", 16, false, kBlue);
    Label4->setObjectName("Label4");
    Label3 = new TLabel(Client, 16, 164, "English", 16, false, kText);
    Label3->setObjectName("Label3");
    Panel1 = new TPanel(Client, 99, 164, 431, 57, kBackground);
    Panel1->setObjectName("Panel1");
    Memo1 = new TMemo(Panel1, 1, 1, 429, 55, 16, kBlue);
    Memo1->setObjectName("Memo1");
    Memo1->ShowVerticalScrollBar();

    connect(SpeedButton1, &TSpeedButton::clicked, this, &TFrmPhrase::SpeedButton1Click);
    connect(SpeedButton2, &TSpeedButton::clicked, this, &TFrmPhrase::SpeedButton2Click);
    connect(Image6, &TImage::Click, this, &TFrmPhrase::Image6Click);
}

void TFrmPhrase::showEvent(QShowEvent* event) {
    // Shown by the phrase search, not restored by the system after minimising.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

// There is no Cancel button: Escape leaves the window open.
void TFrmPhrase::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmPhrase::FormShow() {
    for (TPanel* panel : panels_) panel->SetBevelOuter(Bevel::Raised);
    PhraseSelected = false;
    PhraseCount = 0;
    while (PhraseCount < kPhraseSlots && PhraseWords[PhraseCount][0] != '\0') ++PhraseCount;
    SpeedButton1->setEnabled(false);
    SpeedButton2->setEnabled(PhraseCount > kPhrasesPerPage);
    PhrasePage = 0;
}

void TFrmPhrase::FormPaint(Canvas& canvas) {
    Memo1->HideCaret();
    canvas.pen.style = PenStyle::Solid;
    canvas.pen.width = 2;
    canvas.pen.colour = kSeparator;
    for (int y : kLineRows) {
        canvas.MoveTo(1, y);
        canvas.LineTo(568, y);
    }
    for (TImage* image : words_) image->ClearPicture();
    for (int r = 0; r < kPhrasesPerPage; ++r) {
        const int slot = kPhrasesPerPage * PhrasePage + r;
        TPanel* panel = panels_[static_cast<std::size_t>(r)];
        if (slot >= kPhraseSlots || PhraseWords[slot][0] == '\0') {
            panel->setVisible(false);
            continue;
        }
        panel->setVisible(true);
        const char* word = PhraseWords[slot];
        Canvas& picture = words_[static_cast<std::size_t>(r)]->GetCanvas();
        DrawGlyph24(1, 1, word, picture, kRed);
        DrawGlyph24(26, 1, word + 2, picture, kRed);
        if (word[4] != '\0') DrawGlyph24(51, 1, word + 4, picture, kRed);
    }
}

void TFrmPhrase::Image1Click() {
    WordClick(0);
}
void TFrmPhrase::Image2Click() {
    WordClick(1);
}
void TFrmPhrase::Image3Click() {
    WordClick(2);
}
void TFrmPhrase::Image4Click() {
    WordClick(3);
}
void TFrmPhrase::Image5Click() {
    WordClick(4);
}

void TFrmPhrase::WordClick(int row) {
    const int slot = kPhrasesPerPage * PhrasePage + row;
    if (slot >= kPhraseSlots) return;
    const char* line = PhraseLines[slot];
    panels_[static_cast<std::size_t>(row)]->SetBevelOuter(Bevel::Lowered);
    PhraseSelected = true;
    RecordPinyin(line, PhrasePinyin);
    RecordMeaning(line, PhraseMeaning);
    Label4->SetCaption(QString::fromLatin1(PhrasePinyin));
    char display[kDisplayBufferSize];
    MeaningForDisplay(PhraseMeaning, display);
    Memo1->Clear();
    Memo1->AddLine(QString::fromLatin1(display));
    Memo1->SetSelection(0, 0);
    Memo1->HideCaret();
}

void TFrmPhrase::SpeedButton1Click() {
    PageClick(-1);
}
void TFrmPhrase::SpeedButton2Click() {
    PageClick(+1);
}

void TFrmPhrase::PageClick(int step) {
    for (TPanel* panel : panels_) panel->SetBevelOuter(Bevel::Raised);
    PhraseSelected = false;
    Label4->SetCaption(QString());
    Memo1->Clear();
    PhrasePage += step;
    if (step > 0) {
        SpeedButton1->setEnabled(true);
        SpeedButton2->setEnabled(PhraseCount - kPhrasesPerPage * PhrasePage > kPhrasesPerPage);
    } else {
        SpeedButton2->setEnabled(true);
        SpeedButton1->setEnabled(PhrasePage > 0);
    }
    Client->repaint();
}

void TFrmPhrase::Image6Click() {
    if (!PhraseSelected) {
        ShowMessage(kSelectPhraseMessage);
        return;
    }
    // A syllable too long for its 8-byte buffer names no voice: the player
    // reports it.
    for (const std::string& syllable : SpokenSyllables(PhrasePinyin)) PlayVoice(syllable);
}

void ClearPhraseWindow() {
    for (auto& word : PhraseWords) word[0] = '\0';
    for (auto& line : PhraseLines) line[0] = '\0';
    PhraseCount = 0;
    PhrasePage = 0;
    PhraseSelected = false;
    PhrasePinyin[0] = '\0';
    PhraseMeaning[0] = '\0';
    if (FrmPhrase == nullptr) return;
    if (FrmPhrase->isVisible()) FrmPhrase->reject();
    FrmPhrase->Label4->SetCaption(QString());
    FrmPhrase->Memo1->Clear();
}
