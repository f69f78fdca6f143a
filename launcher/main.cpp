#include "launcher/LauncherDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"

int main(int argc, char* argv[]) {
    return vorelt::ApplicationMain(
        argc, argv,
        {vorelt::launcherIdentity(), [] { return std::make_shared<vorelt::LauncherDelegate>(); }});
}
