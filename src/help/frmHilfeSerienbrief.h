#pragma once
// "  Hilfe Serienbrief": help on serial letters.

#include "HelpScreen.h"

class frmHilfeSerienbrief : public HelpScreen {
    Q_OBJECT
public:
    explicit frmHilfeSerienbrief(QWidget* parent = nullptr);
};
