// What the tag readers find in a sound file: the texts of its tags and the
// facts of its audio stream that give its length. Plain records; every reader
// clears what it is given before reading, and what it found before a read
// failed stays.
#pragma once

#include <QString>

#include <cstdint>

namespace dorvane {

// How many tag fields a reader should decode before it stops walking a tag;
// a field belongs to the smallest detail that admits it (see ID3v2 frames and
// ASF descriptors in the readers). The engine asks for 2, the tag query for 2
// or 5.
using TagDetail = int;
inline constexpr TagDetail kDetailTitles = 2;   // title and artist
inline constexpr TagDetail kDetailAlbum = 3;    // + year, album, track
inline constexpr TagDetail kDetailQuery = 5;    // what the tag query asks for
inline constexpr TagDetail kDetailComments = 6; // + comment, genre, composer ...
inline constexpr TagDetail kDetailLyrics = 13;  // + lyrics, encoder settings
inline constexpr TagDetail kDetailEverything = 100;

// An ID3 version 1 tag: the last 128 bytes. Its texts are single bytes in the
// Windows-1251 code page, decoded here.
struct TID3v1Info {
    bool Ok = false; // a version 1 tag was found
    QString Titel, Artist, Album, Year, Track, Comment, Genre;
};

// An ID3 version 2 tag, or the attributes of an ASF (.wma) header.
struct TID3v2Info {
    bool Ok = false; // a version 2 tag, or an ASF header, was found
    QString Titel, Artist, Album, Year, Track, Genre;
    QString Verses; // lyrics
    QString Comment, Composer, OrigArtist, Copyright, URL;
    QString Encoded;           // encoded by
    QString Means;             // encoder settings
    QString Verses1, Comment1; // the first line of the lyrics and of the comment
};

// The first MPEG audio frame header of an .mp3 and what follows from it.
struct MpegInfo {
    std::uint64_t FileSize = 0;
    std::uint8_t ID3v1Size = 0;       // 128 when a version 1 tag was found
    std::uint32_t ID3v2Size = 0;      // header included
    std::uint32_t RiffDataOffset = 0; // 70 or 72 inside a RIFF wrapper, else 0
    std::uint64_t FirstFrame = 0;     // where the header was read
    std::uint8_t Header[4] = {};
    bool Found = false;
    std::uint8_t Protection = 0, LayerCode = 0, VersionCode = 0, Private = 0, Padding = 0;
    std::uint8_t SampleRateIndex = 0, BitRateIndex = 0, Emphasis = 0, Original = 0;
    std::uint8_t Rights = 0, ModeExtension = 0, ChannelMode = 0; // channel mode 3 = mono
    int Layer = 0;                                               // 1..3
    double Version = 0;                                          // 1.0, 2.0 or 2.5
    int SampleRate = 0;                                          // Hz
    int BitRate = 0;               // kbit/s; -1 for the forbidden index
    std::uint64_t Duration = 0;    // seconds
    std::uint32_t FrameLength = 0; // bytes
    std::uint64_t FrameCount = 0;
    int SamplesDiv8 = 0; // samples per frame / 8
    int XingOffset = 0;  // of the Xing header in the frame
    bool Xing = false;
    bool Info = false; // the Xing header of a constant bit rate, named "Info"
    bool Vbri = false;
    std::uint32_t StreamBytes = 0; // from the Xing or VBRI header
};

// Where an ASF header object lies in the file.
struct TAsfObjectPlace {
    std::uint64_t Position = 0;
    std::uint64_t Size = 0;
};

// The header of an ASF (.wma) file.
struct AsfInfo {
    std::uint64_t FileSize = 0;
    std::uint32_t MaxBitRate = 0; // bit/s, from the file properties
    int Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint64_t Duration = 0; // seconds
    std::uint64_t HeaderEnd = 0;
    TAsfObjectPlace FileProperties, StreamProperties, StreamBitRate, HeaderExtension, CodecList;
};

// Whether a reader could look into the file at all.
enum class TTagFileStatus {
    Read,       // the file was read (whether or not anything was found)
    OtherType,  // not the reader's extension
    Missing,    // no such file
    NotRegular, // a folder, a FIFO, a device
    Unreadable, // no permission, an I/O error
};

} // namespace dorvane
