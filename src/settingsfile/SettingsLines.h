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

/// How a line's value, the text after its key's colon, is read back.  Only the
/// notation the writer uses is taken: no exponent, no hexadecimal, no "nan",
/// nothing after the number.
enum class LineRead {
    Skip,        ///< passed over unread
    Whole,       ///< a whole number: [sign] digits
    Decimal,     ///< a decimal number: [sign] digits [. digits]
    DecimalCut,  ///< a decimal number cut toward zero into an integer field (WDS)
    Text,        ///< printable text of at most 16 characters, blanks around it dropped
    ModelRow,    ///< the model row the file was saved from
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

/// The lines taken by position, whatever they hold: the header and the free
/// comment.  Every later line is found by its key.
inline constexpr int kPositionalLines = 2;

/// The first line that carries a setting (after the model, versions and
/// identifier texts).
inline constexpr int kFirstSettingLine = 7;

/// The camera ID string: it names the unit, so a load sends it and a
/// comparison holds it against the file in factory mode only.
bool SettingsLineIsIdentity(const SettingsLine& line);

/// Value of a line's field as a double (ints and floats), from the records.
double SettingsLineNumber(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv);

/// Text of a Text line's field.
const char* SettingsLineText(const SettingsLine& line, const CamMainSettings& main,
                             const CamAdvSettings& adv);
