#include <windows.h>

#include "../HVXMK2UpdaterAppModule.h"
#include "uia/AppModule.h"

// The program's entry: the runner does everything; a start that failed for
// want of a display or of window classes ends with a non-zero code.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    QX::UIA::runApplication();
    return QX::getUpdaterModule().getExitCode();
}
