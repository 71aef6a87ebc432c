// The program: the main frame over the Qt event loop.
#include <QApplication>
#include <cstdio>

#include "app/main_frame.h"
#include "platform/ui_font.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    nelmora::installFontSubstitutions();
    nelmora::MainFrame frame;
    if (!frame.started()) {
        std::fputs("nelmora: not enough memory to start\n", stderr);
        return 1;
    }
    frame.show();
    return app.exec();
}
