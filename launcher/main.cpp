#include "launcher/LauncherDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"

int main(int argc, char* argv[]) {
    return vorelt::ApplicationMain(argc, argv,
                                   {std::string(vorelt::launcherBundleIdentifier),
                                    [] { return std::make_shared<vorelt::LauncherDelegate>(); }});
}
