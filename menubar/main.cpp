#include "menubar/MainMenu.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"

int main(int argc, char* argv[]) {
    return vorelt::ApplicationMain(
        argc, argv,
        {std::string(vorelt::applicationBundleIdentifier), vorelt::MainMenu::instantiate, true});
}
