#pragma once
// "Hilfe Etiketten": help on printing address labels.

#include "HelpScreen.h"

class frmHilfeEtikett : public HelpScreen {
    Q_OBJECT
public:
    explicit frmHilfeEtikett(QWidget* parent = nullptr);
};
