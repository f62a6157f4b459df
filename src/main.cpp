#include "app/gui/mainapp.h"

int main(int argc, char** argv)
{
    return CMainApp::Run(argc, argv);
}
