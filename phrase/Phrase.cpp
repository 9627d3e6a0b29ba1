#include "phrase/Phrase.h"

TFrmPhrase* FrmPhrase = nullptr;

TFrmPhrase::TFrmPhrase(QWidget* parent) : QDialog(parent) { setWindowTitle("FrmPhrase"); }
