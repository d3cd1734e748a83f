#include "sim/host/device.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

bool exists(const char* path)
{
    struct stat st {};
    return stat(path, &st) == 0;
}

bool findLcd(const RgbImage& marks, HardkeyRegion& lcd)
{
    bool found = false;
    for (int y = 0; y < marks.height; ++y)
        for (int x = 0; x < marks.width; ++x)
            if (marks.at(x, y) == DEVICE_LCD_MARK) {
                if (!found) lcd = {x, y, x, y};
                found = true;
                lcd.x0 = std::min(lcd.x0, x);
                lcd.x1 = std::max(lcd.x1, x);
                lcd.y1 = y;
            }
    return found;
}

} // namespace

bool DEVICE_FromImages(RgbImage front, const RgbImage& marks, DevicePicture& out,
                       std::string& error)
{
    if (front.width != marks.width || front.height != marks.height) {
        error = "Device.bmp and Device1.bmp differ in size";
        return false;
    }
    HardkeyRegion lcd{};
    if (!findLcd(marks, lcd)) {
        error = "Device1.bmp marks no display area";
        return false;
    }
    const int scale = std::min((lcd.x1 - lcd.x0 + 1) / 240, (lcd.y1 - lcd.y0 + 1) / 160);
    if (scale < 1) {
        error = "the display area of Device1.bmp is smaller than 240 x 160";
        return false;
    }
    bool tooMany = false;
    out.hardkeys = BMP_FindHardkeys(marks, DEVICE_HARDKEY_MARK, tooMany);
    if (tooMany) {
        error = "_AddHardkeyRegion: - Too many hardkeys defined in bitmap";
        return false;
    }
    out.front = std::move(front);
    out.lcd = lcd;
    out.lcdScale = scale;
    out.lcdX = lcd.x0 + ((lcd.x1 - lcd.x0 + 1) - 240 * scale) / 2;
    out.lcdY = lcd.y0 + ((lcd.y1 - lcd.y0 + 1) - 160 * scale) / 2;
    return true;
}

DevicePicture DEVICE_Load(void (*hostError)(const std::string& text))
{
    DevicePicture picture;
    std::string error;
    if (exists("Device.bmp") || exists("Device1.bmp")) {
        RgbImage front, marks;
        if (BMP_Load("Device.bmp", front, error) && BMP_Load("Device1.bmp", marks, error) &&
            DEVICE_FromImages(std::move(front), marks, picture, error)) {
            picture.source = "working directory";
            return picture;
        }
        hostError(error + "; using the built-in device picture");
    }
    RgbImage front, marks;
    DEVICE_DrawBuiltin(front, marks);
    if (!DEVICE_FromImages(std::move(front), marks, picture, error))
        hostError("built-in device picture: " + error);
    picture.source = "built-in";
    return picture;
}
