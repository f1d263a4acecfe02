// Writes the application icon (resource 128) as an SVG file, so the desktop
// entry's icon is the very image the windows show.
#include <cstdio>
#include <fstream>

#include "resources/Icons.h"
#include "resources/Resource.h"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.svg\n", argv[0]);
        return 2;
    }
    const std::string_view svg = FindIconSvg(IDI_APP);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << svg << '\n';
    out.close();
    if (svg.empty() || !out) {
        std::fprintf(stderr, "%s: cannot write the icon\n", argv[1]);
        return 1;
    }
    return 0;
}
