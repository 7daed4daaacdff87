// The settings snapshot: every setting the camera holds, read one query after
// another into CamMainSettings or CamAdvSettings (CamTypes.h).
//
// Which queries are made depends on the function class (g_cam_model_idx) and,
// for the Cb and Cr hue, on g_hardware_rev.  A few failed queries are
// tolerated: the fourth failure ends the pass at once, and the fields not yet
// reached keep what the caller put there (normally 0).  A failed query leaves
// an integer field as it was and gives a converted field the value of count 0.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "camera/CamTypes.h"

/// How a pass went, for callers that report more than "it stopped".
struct SnapshotStats {
    int failures = 0;     ///< failed query functions
    int lastFailure = 0;  ///< status code of the last of them (0: none)
    /// Fields whose query failed, by their names in MainSettingsFields() or
    /// AdvSettingsFields() ("agn", "k[3]"), in query order.  What such a field
    /// holds is not the camera's value and must not be shown or saved as one.
    /// Fields a stopped pass never reached are not listed.
    std::vector<const char*> failedFields;
    /// The status of each of failedFields' failed queries, in the same order.
    std::vector<int> failedStatuses;
    /// The pass stopped at its fourth failure.
    bool stopped = false;
    /// Fields whose query the pass made, failed or not.
    std::vector<const char*> reachedFields;

    bool fieldFailed(std::string_view field) const;
    /// What the field holds is not the camera's: its query failed, or the
    /// pass stopped before it (a field the class lacks reads as unread then too).
    bool fieldUnread(std::string_view field) const;
    /// Why the field is unread: the status of its failed query, kNotAsked when
    /// the pass stopped before it, 0 when it was read.
    int fieldFailure(std::string_view field) const;
    static constexpr int kNotAsked = -1;
    /// Any query failed, counted or not: the record is not wholly the camera's.
    bool anyFailed() const { return failures > 0 || !failedFields.empty(); }
};

/// Whether the field of the main record rec at field is unread in the pass
/// that stats describe (fieldUnread); false without stats.
bool MainFieldFailed(const SnapshotStats* stats, const CamMainSettings* rec, const void* field);
/// The same field's SnapshotStats::fieldFailure; 0 without stats.
int MainFieldFailure(const SnapshotStats* stats, const CamMainSettings* rec, const void* field);

/// Fills the main record.  Returns 0 when the pass ran to its end (with at
/// most three failures), 1 when it stopped at the fourth.
int Comm_QueryMainSettings(CamMainSettings* rec, SnapshotStats* stats = nullptr);

/// Fills the advanced record; results as Comm_QueryMainSettings.
int Comm_QueryAdvanced(CamAdvSettings* rec, SnapshotStats* stats = nullptr);

// ---------------------------------------------------------------------------
// The records' fields as data, in record order, for printing and comparing.

enum class SettingsFieldType { Int, Float, Text };

struct SettingsField {
    const char* name;  ///< field name; array elements as "k[0]", "cd[3]"
    SettingsFieldType type;
    std::size_t offset;  ///< byte offset in the record
    std::size_t size;    ///< bytes of a text field (with its terminator)
};

std::span<const SettingsField> MainSettingsFields();
std::span<const SettingsField> AdvSettingsFields();

/// Every field of fields that the pass stats describe left unread
/// (SnapshotStats::fieldUnread), in record order: those whose query failed
/// and those a stopped pass never reached (but for settings the model lacks).
std::vector<const char*> UnreadFieldNames(std::span<const SettingsField> fields, const SnapshotStats& stats);

/// A field of a record, by its description.
inline int SettingsInt(const void* rec, const SettingsField& f)
{
    return *reinterpret_cast<const int*>(static_cast<const char*>(rec) + f.offset);
}
inline float SettingsFloat(const void* rec, const SettingsField& f)
{
    return *reinterpret_cast<const float*>(static_cast<const char*>(rec) + f.offset);
}
inline const char* SettingsText(const void* rec, const SettingsField& f)
{
    return static_cast<const char*>(rec) + f.offset;
}
