#include "TestMain.h"

int main(int argc, char* argv[]) {
    return vorelt::test::runAllTests(argc, argv);
}
