#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// Byte builders for hand-made probe inputs.
namespace probetest {

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& out, uint64_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) out.push_back(static_cast<uint8_t>(nValue >> (8 * i)));
}
inline void PutBe(Bytes& out, uint64_t nValue, int nBytes) {
    for (int i = nBytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(nValue >> (8 * i)));
}
inline void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}
inline void AppendText(Bytes& out, const char* szText) {
    out.insert(out.end(), szText, szText + std::char_traits<char>::length(szText));
}

// An MP4 box with a 32-bit size.
inline Bytes Box(const char* szType, const Bytes& payload) {
    Bytes box;
    PutBe(box, 8 + payload.size(), 4);
    AppendText(box, szType);
    Append(box, payload);
    return box;
}

// A track whose sample description holds `nEntries` copies of an entry of `szFormat`.
inline Bytes Track(const char* szFormat, int nEntries = 1) {
    Bytes stsd;
    PutBe(stsd, 0, 4);  // version and flags
    PutBe(stsd, nEntries, 4);
    for (int i = 0; i < nEntries; ++i) Append(stsd, Box(szFormat, Bytes(28, 0)));
    return Box("trak", Box("mdia", Box("minf", Box("stbl", Box("stsd", stsd)))));
}

// A block-stream block: the 48-byte header and its sub-blocks.
struct SubBlock {
    uint16_t wType;
    Bytes payload;
};
inline Bytes Block(uint32_t dwType, uint32_t dwFormat, uint16_t wWidth, uint16_t wHeight,
                   std::initializer_list<SubBlock> subBlocks) {
    Bytes block;
    PutLe(block, 1, 4);
    PutLe(block, 0, 8);
    PutLe(block, dwType, 4);
    PutLe(block, 4096 + subBlocks.size(), 4);
    PutLe(block, wWidth, 2);
    PutLe(block, wHeight, 2);
    PutLe(block, dwFormat, 4);
    block.resize(48, 0);
    for (const SubBlock& sub : subBlocks) {
        const size_t nAt = block.size();
        block.resize(nAt + 20, 0);
        block[nAt] = static_cast<uint8_t>(sub.wType);
        block[nAt + 1] = static_cast<uint8_t>(sub.wType >> 8);
        for (int i = 0; i < 4; ++i)
            block[nAt + 16 + i] = static_cast<uint8_t>(sub.payload.size() >> (8 * i));
        Append(block, sub.payload);
    }
    return block;
}

inline Bytes PaddedTo(Bytes bytes, size_t nSize) {
    if (bytes.size() < nSize) bytes.resize(nSize, 0);
    return bytes;
}

inline Bytes ImxvHead(uint16_t wSystem, uint16_t wVideo, uint16_t wAudio) {
    Bytes head;
    AppendText(head, "IMXV");
    PutLe(head, 0, 4);
    PutLe(head, wSystem, 2);
    PutLe(head, wVideo, 2);
    PutLe(head, wAudio, 2);
    head.push_back(2);   // channels
    head.push_back(16);  // bits per sample
    PutLe(head, 8000, 4);
    PutLe(head, 64000, 4);
    head.resize(40, 0);
    return head;
}

inline Bytes OldHead(const char* szMagic, uint32_t dwAudio) {
    Bytes head;
    AppendText(head, szMagic);
    head.resize(20, 0);
    head.push_back(1);  // channels at 20
    head.push_back(0);
    head.push_back(8);  // bits per sample at 22
    head.push_back(0);
    PutLe(head, 16000, 4);  // sample rate at 24
    PutLe(head, 0, 4);
    PutLe(head, dwAudio, 4);  // audio format at 32
    head.resize(64, 0);
    return head;
}

inline const Bytes kH264Start = {0x00, 0x00, 0x00, 0x01, 0x67, 0x42};

inline Bytes VideoBlock(const Bytes& payload, uint16_t wWidth = 352, uint16_t wHeight = 288) {
    return Block(4096, 4097, wWidth, wHeight, {{4099, payload}});
}

inline Bytes AudioBlock(size_t nPayloadBytes) {
    return Block(4097, 8193, 0, 0, {{4097, Bytes(nPayloadBytes, 0x55)}});
}

inline Bytes PackHeader() {
    return {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8};
}

inline Bytes StreamMap(std::initializer_list<uint8_t> streamTypes) {
    Bytes entries;
    for (uint8_t byType : streamTypes) Append(entries, {byType, 0xE0, 0x00, 0x00});
    Bytes map = {0x00, 0x00, 0x01, 0xBC};
    PutBe(map, 10 + entries.size(), 2);
    Append(map, {0xE0, 0xFF, 0x00, 0x00});
    PutBe(map, entries.size(), 2);
    Append(map, entries);
    PutBe(map, 0, 4);  // CRC, not checked
    return map;
}

// One 188-byte packet carrying a section that starts in it.
inline Bytes TsPacket(uint16_t wPid, const Bytes& section) {
    Bytes packet = {0x47, static_cast<uint8_t>(0x40 | wPid >> 8), static_cast<uint8_t>(wPid), 0x10,
                    0x00};
    Append(packet, section);
    packet.resize(188, 0xFF);
    return packet;
}

inline Bytes Pat(std::initializer_list<std::pair<uint16_t, uint16_t>> programs) {
    Bytes pat = {0x00};
    PutBe(pat, 0xB000 | (9 + 4 * programs.size()), 2);
    Append(pat, {0x00, 0x01, 0xC1, 0x00, 0x00});
    for (const auto& [wProgram, wPid] : programs) {
        PutBe(pat, wProgram, 2);
        PutBe(pat, 0xE000 | wPid, 2);
    }
    PutBe(pat, 0, 4);
    return pat;
}

inline Bytes Pmt(uint8_t bySection, uint8_t byLast, std::initializer_list<uint8_t> streamTypes) {
    Bytes entries;
    uint16_t wPid = 0x101;
    for (uint8_t byType : streamTypes) {
        entries.push_back(byType);
        PutBe(entries, 0xE000 | wPid++, 2);
        PutBe(entries, 0xF000, 2);
    }
    Bytes pmt = {0x02};
    PutBe(pmt, 0xB000 | (13 + entries.size()), 2);
    Append(pmt, {0x00, 0x01, 0xC1, bySection, byLast, 0xE1, 0x01, 0xF0, 0x00});
    Append(pmt, entries);
    PutBe(pmt, 0, 4);
    return pmt;
}

inline Bytes Mp4(std::initializer_list<Bytes> tracks) {
    Bytes moovPayload = Box("mvhd", Bytes(100, 0));
    for (const Bytes& track : tracks) Append(moovPayload, track);
    Bytes file = Box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
    Append(file, Box("moov", moovPayload));
    return file;
}

}  // namespace probetest
