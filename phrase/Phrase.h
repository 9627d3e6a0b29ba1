// The phrase window TFrmPhrase: the found words five to a page, each with its
// pinyin, meaning and pronunciation.
#pragma once

#include <QDialog>
#include <array>

class Canvas;
class ClientArea;
class TImage;
class TLabel;
class TMemo;
class TPanel;
class TSpeedButton;

inline constexpr int kPhrasesPerPage = 5;
inline constexpr const char* kSelectPhraseMessage = "Please select a phrase!";

extern int PhraseCount;
extern int PhrasePage;
extern bool PhraseSelected;
extern char PhrasePinyin[65];
extern char PhraseMeaning[177];

class TFrmPhrase : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPhrase(QWidget* parent = nullptr);

    ClientArea* Client;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TPanel* Panel2;
    TPanel* Panel3;
    TPanel* Panel4;
    TPanel* Panel5;
    TPanel* Panel6;
    TImage* Image1;
    TImage* Image2;
    TImage* Image3;
    TImage* Image4;
    TImage* Image5;
    TLabel* Label1;
    TImage* Image6;
    TLabel* Label2;
    TLabel* Label4;
    TLabel* Label3;
    TPanel* Panel1;
    TMemo* Memo1;

    // Word button of row r (0-4) and its panel.
    TImage* WordButton(int row) const { return words_.at(static_cast<std::size_t>(row)); }
    TPanel* WordPanel(int row) const { return panels_.at(static_cast<std::size_t>(row)); }

    void FormShow();
    void FormPaint(Canvas& canvas);
    void Image1Click();
    void Image2Click();
    void Image3Click();
    void Image4Click();
    void Image5Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Image6Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void WordClick(int row);
    void PageClick(int step);

    std::array<TImage*, kPhrasesPerPage> words_{};
    std::array<TPanel*, kPhrasesPerPage> panels_{};
};

extern TFrmPhrase* FrmPhrase;

// Empties the phrase table and the phrase window's word, and hides the window
// (its modal run ends), as at start: another lesson is shown.
void ClearPhraseWindow();
