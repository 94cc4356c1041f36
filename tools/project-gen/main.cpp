// tl-gen-project LINES OUT.json: writes a project of LINES connection layers.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "ConnectionsProject.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) < 0) {
        std::cerr << "usage: tl-gen-project LINES OUT.json\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << tlgen::ConnectionsProject(std::atoi(argv[1]));
    if (!out) {
        std::cerr << "cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
