#pragma once

// quillbarrow-cli's exit statuses (README, quillbarrow-cli(1)).
namespace exitstatus {
inline constexpr int kSuccess = 0;
// The command line or a field was refused before the directory was changed.
inline constexpr int kRefused = 2;
// The directory failed (its code printed) before any user was made, or the scan is incomplete.
inline constexpr int kDirectoryFailure = 3;
// A run stopped at a failure after creating users; those made are in the account list.
inline constexpr int kStopped = 4;
} // namespace exitstatus
