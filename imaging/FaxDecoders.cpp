// The fax decoders of GraphicCompression: the modified Huffman code of ITU-T T.4, in Group 3
// rows that start with EOL and in plain modified Huffman rows.
#include "imaging/GraphicCompression.h"

#include "imaging/GraphicStrings.h"
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct CodeWord {
    const char* bits;
    int16_t run;
};

// Terminating codes for runs 0..63, in run order.
const char* const kWhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100",
};

const char* const kBlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111",
};

// Make-up codes for 64, 128, ..., 1728.
const char* const kWhiteMakeUp[27] = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011",
};

const char* const kBlackMakeUp[27] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",
    "000000110100",  "000000110101",  "0000001101100", "0000001101101", "0000001001010",
    "0000001001011", "0000001001100", "0000001001101", "0000001110010", "0000001110011",
    "0000001110100", "0000001110101", "0000001110110", "0000001110111", "0000001010010",
    "0000001010011", "0000001010100", "0000001010101", "0000001011010", "0000001011011",
    "0000001100100", "0000001100101",
};

// Make-up codes for 1792, 1856, ..., 2560, the same for both colours.
const char* const kExtendedMakeUp[13] = {
    "00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
    "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
    "000000011101", "000000011110", "000000011111",
};

// EOL, then codes that no row holds: fill and invalid bits.
const CodeWord kSpecial[] = {
    {"000000000001", -1}, {"000000001", -2}, {"0000000001", -2}, {"00000000001", -2}, {"000000000000", -2},
};

void insert(TStateArray& tree, const char* bits, int32_t run)
{
    uint32_t node = 0;
    for (const char* b = bits; *b; ++b) {
        int bit = *b == '1';
        if (tree[node].NewState[bit] == 0) {
            tree[node].NewState[bit] = uint32_t(tree.size());
            tree.emplace_back();
        }
        node = tree[node].NewState[bit];
    }
    tree[node].RunLength = run;
}

void makeTree(TStateArray& tree, const char* const (&terminating)[64], const char* const (&makeUp)[27])
{
    tree.assign(1, TStateEntry{});
    for (int32_t i = 0; i < 64; ++i)
        insert(tree, terminating[i], i);
    for (int32_t i = 0; i < 27; ++i)
        insert(tree, makeUp[i], 64 * (i + 1));
    for (int32_t i = 0; i < 13; ++i)
        insert(tree, kExtendedMakeUp[i], 1792 + 64 * i);
    for (const CodeWord& c : kSpecial)
        insert(tree, c.bits, c.run);
}

using Lookup = std::array<TCCITTDecoder::Code, std::size_t(1) << TCCITTDecoder::kLookupBits>;

// What the tree makes of every pattern of the next kLookupBits bits: walking from the root,
// a code ends where the node has no child for the next bit (a node without children is a
// whole code; one with children means the bits fit no code).
void makeLookup(const TStateArray& tree, Lookup& lookup)
{
    constexpr int n = TCCITTDecoder::kLookupBits;
    for (uint32_t pattern = 0; pattern < lookup.size(); ++pattern) {
        uint32_t node = 0;
        int used = 0;
        while (used < n) {
            uint32_t next = tree[node].NewState[(pattern >> (n - 1 - used)) & 1];
            if (next == 0)
                break;
            node = next;
            ++used;
        }
        lookup[pattern] = {int16_t(tree[node].RunLength), uint8_t(used)};
    }
}

struct Tables {
    Lookup white, black;
    std::array<uint8_t, 256> identity, reversed;

    Tables()
    {
        TStateArray whiteTree, blackTree;
        TCCITTDecoder::MakeStates(whiteTree, blackTree);
        makeLookup(whiteTree, white);
        makeLookup(blackTree, black);
        for (unsigned i = 0; i < 256; ++i) {
            identity[i] = uint8_t(i);
            unsigned r = 0;
            for (int b = 0; b < 8; ++b)
                r |= ((i >> b) & 1u) << (7 - b);
            reversed[i] = uint8_t(r);
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// Sets the bits from..from+count-1 of a row, most significant bit first.
void setBits(uint8_t* row, uint32_t from, uint32_t count)
{
    uint32_t end = from + count;
    uint32_t first = from >> 3, last = end >> 3;
    uint8_t head = uint8_t(0xFF >> (from & 7)), tail = uint8_t(~(0xFF >> (end & 7)));
    if (first == last) {
        row[first] |= head & tail;
        return;
    }
    row[first] |= head;
    std::memset(row + first + 1, 0xFF, last - first - 1);
    if (end & 7)
        row[last] |= tail;
}

} // namespace

void TCCITTDecoder::MakeStates(TStateArray& White, TStateArray& Black)
{
    makeTree(White, kWhiteTerminating, kWhiteMakeUp);
    makeTree(Black, kBlackTerminating, kBlackMakeUp);
}

TCCITTDecoder::TCCITTDecoder(int32_t Options, bool SwapBits, bool WordAligned, uint32_t Width)
    : options_(Options), wordAligned_(WordAligned), width_(Width),
      bitOrder_(SwapBits ? tables().reversed.data() : tables().identity.data()), white_(tables().white.data()),
      black_(tables().black.data())
{
}

void TCCITTDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TCCITTDecoder::refill()
{
    while (bits_ <= 56 && in_ < inEnd_) {
        acc_ |= uint64_t(bitOrder_[*in_++]) << (56 - bits_);
        bits_ += 8;
    }
}

int32_t TCCITTDecoder::findCode(const Code* table)
{
    int32_t total = 0;
    for (;;) {
        if (bits_ < kLookupBits)
            refill();
        const Code c = table[acc_ >> (64 - kLookupBits)];
        // Bits short of a whole code: the data ends inside it. A code that ends exactly at
        // the last bit is whole.
        if (c.length > bits_ || c.length == 0)
            return total > 0 ? total : kEndOfData;
        acc_ <<= c.length;
        bits_ -= c.length;
        if (c.run < 0) {
            lastLength_ = c.length;
            return c.run;
        }
        total += c.run;
        if (c.run < 64)
            return total;
    }
}

bool TCCITTDecoder::NextBit()
{
    if (bits_ == 0)
        refill();
    if (bits_ == 0)
        return false;
    bool bit = acc_ >> 63;
    acc_ <<= 1;
    --bits_;
    return bit;
}

bool TCCITTDecoder::uncompressedModeFollows()
{
    // The one-dimensional extension code is 000000001 and three bits; 111 enters
    // uncompressed mode.
    if (lastLength_ != 9)
        return false;
    if (bits_ < 3)
        refill();
    return bits_ >= 3 && acc_ >> 61 == 7;
}

void TCCITTDecoder::alignInput(unsigned bits)
{
    uint64_t used = uint64_t(in_ - start_) * 8 - uint64_t(bits_);
    unsigned skip = unsigned((bits - used % bits) % bits);
    if (int(skip) > bits_)
        refill();
    skip = std::min(skip, unsigned(bits_));
    acc_ = skip < 64 ? acc_ << skip : 0;
    bits_ -= int(skip);
}

bool TCCITTDecoder::FillRun(int32_t RunLength)
{
    uint32_t n = std::min(uint32_t(std::max(RunLength, 0)), width_ - position_);
    if (!isWhite_ && n > 0)
        setBits(row_, position_, n);
    position_ += n;
    return position_ == width_;
}

void TCCITTDecoder::startStrip(const uint8_t* source, int32_t packedSize, uint8_t* dest, int32_t unpackedSize)
{
    start_ = in_ = source;
    inEnd_ = source + std::max(packedSize, 0);
    acc_ = 0;
    bits_ = 0;
    rowBytes_ = (std::size_t(width_) + 7) / 8;
    std::size_t size = std::size_t(std::max(unpackedSize, 0));
    std::memset(dest, 0, size);
    row_ = nullptr;
    out_ = dest;
    // Whole rows only; a row of no pixels is none.
    outEnd_ = dest + (rowBytes_ ? size / rowBytes_ * rowBytes_ : 0);
}

bool TCCITTDecoder::nextRow()
{
    if (out_ == outEnd_)
        return false;
    row_ = out_;
    out_ += rowBytes_;
    position_ = 0;
    isWhite_ = true;
    return true;
}

void TCCITTFax3Decoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    // Bit 0: two-dimensional rows, which are not decoded. Bit 1 only allows uncompressed
    // mode: data that does not use it decodes as any other.
    if (options_ & 1)
        CompressionError(Format(gesUnsupportedFeature, gesCompressionScheme, "TIF/TIFF"));
    const bool uncompressedAllowed = options_ & 2;
    startStrip(Source, PackedSize, Dest, UnpackedSize);
    // A row cut short by an EOL has already read the next row's EOL.
    bool atRowStart = false;
    while (inputLeft() && nextRow()) {
        if (!atRowStart) {
            // At least 11 zero bits (fill may add more), then the one bit that ends the EOL.
            int zeros = 0;
            while (zeros < 11 && inputLeft())
                zeros = NextBit() ? 0 : zeros + 1;
            while (inputLeft() && !NextBit()) {
            }
            if (!inputLeft())
                break;
        }
        atRowStart = false;
        for (;;) {
            int32_t run = isWhite_ ? FindWhiteCode() : FindBlackCode();
            if (run == kEndOfData)
                return;
            if (run < 0) {
                // Uncompressed mode itself is not decoded.
                if (run == -2 && uncompressedAllowed && uncompressedModeFollows())
                    CompressionError(Format(gesUnsupportedFeature, gesCompressionScheme, "TIF/TIFF"));
                atRowStart = run == -1;
                break;
            }
            if (FillRun(run))
                break;
            isWhite_ = !isWhite_;
        }
    }
}

void TCCITTMHDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    startStrip(Source, PackedSize, Dest, UnpackedSize);
    while (inputLeft() && nextRow()) {
        for (;;) {
            int32_t run = isWhite_ ? FindWhiteCode() : FindBlackCode();
            if (run == kEndOfData)
                return;
            // Codes of no length, EOL and invalid codes only change the colour.
            if (run > 0 && FillRun(run))
                break;
            isWhite_ = !isWhite_;
        }
        // The next row starts on a byte boundary of the input, or a 16-bit one.
        alignInput(wordAligned_ ? 16 : 8);
    }
}
