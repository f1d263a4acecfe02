// The windowed program. It takes no arguments: Qt is given the program's
// name only, and the application object does the rest.
#include <QApplication>

#include "ui/App.h"

int main(int argc, char* argv[])
{
    static char szFallbackName[] = "kestrune";
    int nQtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : szFallbackName, nullptr};
    QApplication app(nQtArgc, qtArgv);

    CVESKApp theApp;
    theApp.InitInstance();
    return 0;
}
