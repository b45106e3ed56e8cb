#pragma once
// "Hilfe Kontorix": help on writing a letter with the letter composer.

#include "HelpScreen.h"

class hilfe3 : public HelpScreen {
    Q_OBJECT
public:
    explicit hilfe3(QWidget* parent = nullptr);
};
