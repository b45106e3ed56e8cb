// Build-time tool: renders one help page (HTML) into the PNG picture that its help
// screen shows. Usage: qx-helppicture <page.html> <picture.png> [width in pixels]

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cmath>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: qx-helppicture page.html picture.png [width]\n");
        return 2;
    }
    QFile in(args.at(1));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const int width = args.size() > 3 ? args.at(3).toInt() : 760;

    QTextDocument page;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    page.setDefaultFont(font);
    page.setDocumentMargin(20);
    page.setHtml(QString::fromUtf8(in.readAll()));
    page.setTextWidth(width);

    QImage picture(width, int(std::ceil(page.size().height())), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        page.drawContents(&p);
    }
    if (!picture.save(args.at(2), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
