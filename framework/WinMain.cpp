// The program's entry point; the application object does the rest.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    return AfxWinMain(hInstance, nCmdShow);
}
