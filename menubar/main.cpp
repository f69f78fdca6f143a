#include "menubar/MainMenu.h"
#include "platform/Application.h"

int main(int argc, char* argv[]) {
    return vorelt::ApplicationMain(argc, argv, vorelt::MainMenu::instantiate);
}
