#pragma once
// The three byte blocks the executable carries in its read-only data, each
// stored as a 32-bit marker (1), a 32-bit length and the bytes.

#include <cstdint>
#include <span>

// The data of a stored block: its length is read, the marker is not.
std::span<const std::uint8_t> BlockData(const std::uint8_t* block);

std::span<const std::uint8_t> TutorialImage();
std::span<const std::uint8_t> SubmissionNotice();
std::span<const std::uint8_t> TutorialNotes();

// The stored blocks themselves, marker and length included (for the tests).
extern "C" const std::uint8_t kTutorialImageBlock[] __asm__("launcher_tutorial_image_block");
extern "C" const std::uint8_t kSubmissionNoticeBlock[] __asm__("launcher_submission_notice_block");
extern "C" const std::uint8_t kTutorialNotesBlock[] __asm__("launcher_tutorial_notes_block");
