// The settings file as data: its 90 lines in order, each with the key the
// writer puts before the value, how the value is written and read back, and the
// record field that carries it.  The writer, the reader and the comparison of a
// file with a camera all work from this one table.
#pragma once

#include <bitset>
#include <cstddef>
#include <span>
#include <string_view>

#include "camera/CamTypes.h"

/// Number of lines in a settings file.
inline constexpr int kSettingsFileLines = 90;

/// The first line of every settings file.
inline constexpr const char* kSettingsFileHeader = "Ulvo_cam Settings Rev 0";

/// Longest comment a file carries (one line).
inline constexpr std::size_t kSettingsCommentMax = 80;

/// Longest identifier text a file carries.
inline constexpr std::size_t kSettingsIdMax = 16;

/// How a value is written.
enum class LineFormat {
    Header,   ///< the header text, no key
    Comment,  ///< the comment text, no key
    Int,      ///< plain decimal
    Real6,    ///< six decimals
    Real2,    ///< two decimals
    Text,     ///< verbatim
};

/// How a line is read back, once the reader has found the file's line for it
/// (by its key, else by its position: SettingsReader.cpp).
enum class LineRead {
    Skip,               ///< passed over unread
    NumberAfterKey,     ///< skip to the first character that can begin a number, read a real
    IntegerAfterKey,    ///< skip to the first character that can begin a number, read an integer
    IntegerAfterColon,  ///< skip past the first colon, read an integer (keys holding digits)
    RealAfterColon,     ///< skip past the first colon, read a real
    TextAfterColon,     ///< skip past the first colon and blanks, take up to 16 characters
};

/// Which record holds a line's value.
enum class LineRecord { None, Main, Advanced, ModelRow };

/// Type of the field a line's value lives in.
enum class LineField { None, Int, Float, Text };

struct SettingsLine {
    const char* key;  ///< text before ": " (nullptr for header and comment)
    LineFormat format;
    LineRead read;
    LineRecord record;
    LineField field;
    std::size_t offset;  ///< byte offset of the field in its record
    std::size_t size;    ///< bytes of a text field
    bool counted;        ///< an unreadable line counts as a read failure
    const char* name;    ///< the setting's name in messages: the key, except where the key misleads
                         ///< ("ZMC" for the zoom under the second "FOC" key, "KB2" for "K[BLUE12")
};

/// The 90 lines, line 0 first.
std::span<const SettingsLine> SettingsFileLines();

/// Lines of the format, by line number.
using SettingsLineSet = std::bitset<kSettingsFileLines>;

/// Number of the line of the setting with this name (SettingsLine::name;
/// "FOC" is the focus, "ZMC" the zoom), -1 when there is none.
int SettingsLineIndex(std::string_view name);

/// The first line that carries a setting: the lines before it (header,
/// comment, model, versions, identifier texts) are always taken by position.
inline constexpr int kFirstSettingLine = 7;

/// Value of a line's field as a double (ints and floats), from the records.
double SettingsLineNumber(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv);

/// Text of a Text line's field.
const char* SettingsLineText(const SettingsLine& line, const CamMainSettings& main,
                             const CamAdvSettings& adv);
