#include "../TestMain.h"

// Runs inside dbus-run-session: the session bus is a private one, with no panel on it.
int main(int argc, char* argv[]) {
    return vorelt::test::runAllTests(argc, argv);
}
