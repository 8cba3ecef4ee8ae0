#pragma once
// Reads the binary netpbm files (P5, P6, P7) that hold the reference pixels of the image
// fixtures. Samples are bytes; maxval is kept so 5-bit references can be compared as such.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

struct NetpbmImage {
    int width = 0, height = 0, depth = 0, maxval = 0;
    std::vector<uint8_t> samples;   // depth samples per pixel, rows top first
    int at(int x, int y, int channel) const { return samples[std::size_t((y * width + x) * depth + channel)]; }
};

inline NetpbmImage ReadNetpbm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t pos = 0;
    auto skipSpace = [&] {
        while (pos < bytes.size()) {
            if (bytes[pos] == '#')
                while (pos < bytes.size() && bytes[pos] != '\n')
                    ++pos;
            else if (isspace(static_cast<unsigned char>(bytes[pos])))
                ++pos;
            else
                break;
        }
    };
    auto token = [&] {
        skipSpace();
        std::size_t start = pos;
        while (pos < bytes.size() && !isspace(static_cast<unsigned char>(bytes[pos])))
            ++pos;
        return bytes.substr(start, pos - start);
    };
    NetpbmImage img;
    std::string magic = token();
    if (magic == "P5" || magic == "P6") {
        img.depth = magic == "P5" ? 1 : 3;
        img.width = std::stoi(token());
        img.height = std::stoi(token());
        img.maxval = std::stoi(token());
    } else if (magic == "P7") {
        for (std::string key = token(); key != "ENDHDR"; key = token()) {
            if (key == "WIDTH") img.width = std::stoi(token());
            else if (key == "HEIGHT") img.height = std::stoi(token());
            else if (key == "DEPTH") img.depth = std::stoi(token());
            else if (key == "MAXVAL") img.maxval = std::stoi(token());
            else if (key.empty()) throw std::runtime_error("bad PAM header in " + path);
            else token();
        }
    } else {
        throw std::runtime_error("not a binary netpbm file: " + path);
    }
    ++pos;   // the single blank before the samples
    std::size_t n = std::size_t(img.width) * img.height * img.depth;
    if (img.maxval > 255 || bytes.size() < pos + n)
        throw std::runtime_error("unexpected netpbm layout in " + path);
    img.samples.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + n));
    return img;
}
