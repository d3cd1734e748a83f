// Writes the window host's built-in device picture as Device.bmp and Device1.bmp, a starting
// point for pictures of one's own: placed in the working directory, they replace the built-in
// ones.
//
// Usage: devicegen OUTPUT_DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "sim/host/bmp.h"
#include "sim/host/device.h"

namespace {

bool writeFile(const std::string& path, const std::vector<uint8_t>& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: devicegen OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    RgbImage front, marks;
    DEVICE_DrawBuiltin(front, marks);
    if (!writeFile(dir + "/Device.bmp", BMP_Encode(front)) ||
        !writeFile(dir + "/Device1.bmp", BMP_Encode(marks))) {
        fprintf(stderr, "devicegen: cannot write the pictures into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
