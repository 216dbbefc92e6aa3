// Draws the setup program's icon and writes it as a Windows .ico file.
//
//   icongen OUTPUT.ico
//
// The emblem, a yellow arrow dropping into a white tray on a blue tile, is
// described by a few shapes in unit coordinates and rendered at every size
// of the file. The output depends on nothing but this program: the same
// bytes on every build.
//
// File layout (all numbers little-endian):
//   ICONDIR        reserved 0 (2), type 1 (2), image count (2)
//   ICONDIRENTRY   per image: width (1), height (1), colour count (1),
//                  reserved (1), planes (2), bits per pixel (2),
//                  image bytes (4), image offset from the file start (4)
//   image          BITMAPINFOHEADER (40) with the height doubled, the
//                  palette (16 entries of 4 bytes), the colour rows, then
//                  the 1-bit transparency mask; rows bottom-up, each padded
//                  to 4 bytes
//
// Images: 32 and 16 pixels with 16 colours, which every Windows system
// shows: 1,040 bytes. The emblem's flat colours need no more, and 32-bit
// images with alpha for smooth edges would add 5.4 KB to a setup program
// of 48 KB at most (docs/PERFORMANCE.md).
#include <stdint.h>
#include <stdio.h>

#include <vector>

namespace {

struct Colour {
    uint8_t red, green, blue;
};

// Palette of the 4-bit images; index 0 also stands for "no shape here".
// The colours are from the standard 16-colour set, so they show unchanged
// on a 16-colour display.
const Colour kPalette[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
enum : uint8_t { kNone = 0, kNavy = 4, kYellow = 11, kBlue = 12, kWhite = 15 };

bool InRoundedSquare(double x, double y, double low, double high, double radius) {
    if (x < low || x > high || y < low || y > high) return false;
    double cx = x < low + radius ? low + radius : (x > high - radius ? high - radius : x);
    double cy = y < low + radius ? low + radius : (y > high - radius ? high - radius : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

bool InRect(double x, double y, double left, double top, double right, double bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// Downward triangle with its base from (left, top) to (right, top) and its
// tip at (middle, tip).
bool InArrowHead(double x, double y, double left, double right, double top, double tip) {
    if (y < top || y > tip) return false;
    double half = (right - left) / 2 * (tip - y) / (tip - top);
    double middle = (left + right) / 2;
    return x >= middle - half && x <= middle + half;
}

// Palette index of the emblem at (x, y), both from 0 to 1, y downwards.
// Later shapes lie on top of earlier ones.
uint8_t EmblemAt(double x, double y) {
    uint8_t index = kNone;
    if (InRoundedSquare(x, y, 0.03, 0.97, 0.18)) index = kNavy;
    if (InRoundedSquare(x, y, 0.09, 0.91, 0.13)) index = kBlue;
    if (InRect(x, y, 0.20, 0.60, 0.30, 0.84) || InRect(x, y, 0.70, 0.60, 0.80, 0.84) ||
        InRect(x, y, 0.20, 0.76, 0.80, 0.84))
        index = kWhite;
    if (InRect(x, y, 0.40, 0.12, 0.60, 0.44) || InArrowHead(x, y, 0.22, 0.78, 0.42, 0.72))
        index = kYellow;
    return index;
}

void Put16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(value & 0xFF);
    out.push_back(value >> 8 & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

size_t RowBytes(int width, int bits) {
    return ((size_t)width * bits + 31) / 32 * 4;
}

void PutInfoHeader(std::vector<uint8_t>& out, int size, int bits, size_t imageBytes) {
    Put32(out, 40);
    Put32(out, size);
    Put32(out, 2 * size);  // colour rows and mask rows together
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);  // BI_RGB
    Put32(out, (uint32_t)imageBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, bits == 4 ? 16 : 0);
    Put32(out, 0);
}

// Mask rows, bottom-up: bit set where the image is transparent.
void PutMask(std::vector<uint8_t>& out, int size, const std::vector<bool>& clear) {
    size_t rowBytes = RowBytes(size, 1);
    for (int row = size - 1; row >= 0; --row) {
        std::vector<uint8_t> bits(rowBytes, 0);
        for (int x = 0; x < size; ++x)
            if (clear[(size_t)row * size + x]) bits[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

// 16 colours, hard edges: each pixel takes the shape under its centre.
std::vector<uint8_t> Render4Bit(int size) {
    std::vector<uint8_t> out;
    size_t colourBytes = RowBytes(size, 4) * size;
    PutInfoHeader(out, size, 4, colourBytes + RowBytes(size, 1) * size);
    for (const Colour& c : kPalette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    std::vector<bool> clear((size_t)size * size);
    for (int row = size - 1; row >= 0; --row) {
        std::vector<uint8_t> bits(RowBytes(size, 4), 0);
        for (int x = 0; x < size; ++x) {
            uint8_t index = EmblemAt((x + 0.5) / size, (row + 0.5) / size);
            clear[(size_t)row * size + x] = index == kNone;
            bits[x / 2] |= (uint8_t)(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
    PutMask(out, size, clear);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: icongen OUTPUT.ico\n");
        return 2;
    }
    struct Image {
        int size;
        int bits;
        std::vector<uint8_t> bytes;
    };
    std::vector<Image> images = {
        {32, 4, Render4Bit(32)},
        {16, 4, Render4Bit(16)},
    };

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, (unsigned)images.size());
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    for (const Image& image : images) {
        file.push_back((uint8_t)image.size);
        file.push_back((uint8_t)image.size);
        file.push_back(image.bits == 4 ? 16 : 0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, image.bits);
        Put32(file, (uint32_t)image.bytes.size());
        Put32(file, offset);
        offset += (uint32_t)image.bytes.size();
    }
    for (const Image& image : images) file.insert(file.end(), image.bytes.begin(), image.bytes.end());

    FILE* out = fopen(argv[1], "wb");
    if (out == NULL) {
        fprintf(stderr, "icongen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
    if (fclose(out) != 0) written = false;
    if (!written) {
        fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        remove(argv[1]);
        return 1;
    }
    return 0;
}
