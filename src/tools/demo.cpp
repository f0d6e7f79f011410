// zubrica98-demo DIR: writes the bundled demo race day into DIR.

#include <iostream>

#include "fixtures/demo_day.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zubrica98-demo DIR\n";
        return 1;
    }
    try {
        zb::fixture::WriteDemoDay(argv[1]);
        zb::fixture::WriteDemoPassbook(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "zubrica98-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
