// The about box TAboutDlg: modeless, hidden by OK, never destroyed.
#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class TImage;

class TAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAboutDlg(QWidget* parent = nullptr);

    QPushButton* OKBtn;
    QFrame* Bevel1;
    QLabel* Label1;
    TImage* Image1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;

    void OKBtnClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
