/* The packaged blocks, taken from the checked assets at build time. They sit in
   a read-only section of their own, page-aligned in the file as in memory, so
   the loader maps them from the file instead of reading them into private
   memory; nothing copies them at run time. */

#if defined(_WIN32)
  .section .lesson, "dr"
#else
  .section .note.GNU-stack, "", @progbits
  .section .rodata.lesson, "a"
#endif

.macro block name, file
  .p2align 12
  .globl \name
\name:
  .long 1
  .long 2f - 1f
1:
  .incbin "\file"
2:
.endm

  block launcher_tutorial_image_block, TUTORIAL_IMAGE
  block launcher_submission_notice_block, SUBMISSION_NOTICE
  block launcher_tutorial_notes_block, TUTORIAL_NOTES
