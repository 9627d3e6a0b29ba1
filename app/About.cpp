#include "app/About.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/home_page.h"
#include "app/pictures.h"
#include "app/runtime/controls.h"
#include "app/runtime/product.h"

TAboutDlg* AboutDlg = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    return label;
}

}  // namespace

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDlg");
    setWindowTitle("About TallowFern");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(313, 214);
    setModal(false);
    setFont(SansFont(11, false));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setGeometry(8, 8, 297, 161);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Image1 = new TImage(this, 40, 32, 32, 32);
    Image1->setObjectName("Image1");
    Image1->SetPicture(ProgramIcon());

    Label1 = MakeLabel(this, "Label1", "TallowFern demo Version ", {88, 40, 194, 16},
                       SansFont(13, true));
    Label2 = MakeLabel(this, "Label2", kCopyright, {88, 97, 194, 16}, SansFont(13, false));
    Label4 = MakeLabel(this, "Label4", kSupportEmail, {88, 123, 128, 13}, font());
    Label3 = MakeLabel(this, "Label3", QString::fromStdString(UnmaskHomePage()), {88, 144, 140, 13},
                       font());

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(119, 180, 75, 25);
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TAboutDlg::OKBtnClick);
}

void TAboutDlg::OKBtnClick() {
    hide();
}

// There is no Cancel button: Escape leaves the box open.
void TAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
