#pragma once
// "Statistik Dokument": pages, words, characters, paragraphs and lines of one document,
// counted once when the window opens.

#include <QDialog>

class QLabel;
class QPushButton;
class TextControl;

class frmWordCount : public QDialog {
    Q_OBJECT
public:
    explicit frmWordCount(QWidget* parent = nullptr);

    // Counts `surface` and shows the window modally.
    static void showStatistics(TextControl* surface, QWidget* parent = nullptr);

    TextControl* surface = nullptr;

    QLabel* lblPageCnt;
    QLabel* lblWordCnt;
    QLabel* lblCharNoSpCnt;
    QLabel* lblCharCnt;
    QLabel* lblParaCnt;
    QLabel* lblLineCnt;
    QPushButton* Command1;

public Q_SLOTS:
    void Form_Load();
    void Command1_Click();
};
