// The phrase window TFrmPhrase.
#pragma once

#include <QDialog>

class TFrmPhrase : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPhrase(QWidget* parent = nullptr);
};

extern TFrmPhrase* FrmPhrase;
