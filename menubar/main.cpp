#include "menubar/MainMenu.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"

int main(int argc, char* argv[]) {
    return vorelt::ApplicationMain(argc, argv,
                                   {vorelt::clockIdentity(), vorelt::MainMenu::instantiate, true});
}
