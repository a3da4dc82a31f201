#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A batch of accounts named as a creation run names them, to be disabled, enabled again or removed.
// The window's dialog and the command line drive it alike: Read, show the preview and have it
// confirmed, Run, then save Done().

enum class BatchAction { Disable, Enable, Remove };

struct BatchRange {
    std::string container; // dotted name from the top, as SetNameContext takes it
    std::string prefix;
    std::int32_t start = 1;
    std::int32_t count = 0; // 1 to 9999
    std::int32_t digits = 0;
};

// An entry in the range that the batch leaves alone, and why.
struct BatchSkipped {
    std::string name;
    std::string reason;
};

// What a run would touch: only Users of the class this directory creates, directly in the container,
// named exactly prefix + zero-filled index (letter case ignored, as the directory compares names),
// holding no entries of their own.
struct BatchPreview {
    std::vector<std::string> targets; // in index order
    std::vector<std::string> missing; // names in the range with no entry
    std::vector<BatchSkipped> skipped;
};

// One user the run has dealt with, as the list of what was done shows it.
struct BatchDone {
    std::string name;
    std::string directoryName; // LDAP DN, or the embedded directory's dotted name; empty when unknown
};

// Names for what is shown and saved: "disable", "enable", "remove" and their past forms.
const char* ActionVerb(BatchAction action);
const char* ActionPast(BatchAction action);

class AccountBatch {
public:
    AccountBatch(BatchAction action, BatchRange range) : action_(action), range_(std::move(range)) {}

    // The names the range spans, prefix + IndexText(index, digits), in index order (the index wraps as
    // a creation run's does).
    std::vector<std::string> RangeNames() const;

    // Reads the container once and sorts the range into targets, missing and skipped names. A failure
    // is shown through CheckNDSError and returns false, with nothing previewed.
    bool Read();
    const BatchPreview& Preview() const { return preview_; }

    // Deals with the targets one by one on the shared context, calling `progress` with the number done
    // after each. The first failure is shown through CheckNDSError with the step's label and ends the
    // run: false, with the users done until then in Done().
    bool Run(const std::function<void(std::size_t done)>& progress);
    const std::vector<BatchDone>& Done() const { return done_; }

    BatchAction action() const { return action_; }
    const BatchRange& range() const { return range_; }

private:
    BatchAction action_;
    BatchRange range_;
    BatchPreview preview_;
    std::vector<BatchDone> done_;
};
