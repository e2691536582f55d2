#include "content/embedded_blocks.h"

#include <cstring>

std::span<const std::uint8_t> BlockData(const std::uint8_t* block) {
  std::uint32_t length;
  std::memcpy(&length, block + 4, sizeof length);  // little-endian on every target here
  return {block + 8, length};
}

std::span<const std::uint8_t> TutorialImage() { return BlockData(kTutorialImageBlock); }
std::span<const std::uint8_t> SubmissionNotice() { return BlockData(kSubmissionNoticeBlock); }
std::span<const std::uint8_t> TutorialNotes() { return BlockData(kTutorialNotesBlock); }
