# Bitmap converter: one bitmap with -bm, then a control file of bitmaps with -fb.
file(MAKE_DIRECTORY "${OUT}/bitmap")

demo_run(TITLE "one 1-bit bitmap into a C array (-bm)"
  WORKDIR "${EXAMPLES}/bitmap"
  COMMAND "${FILECREATE}" -bm logo.bmp "${OUT}/bitmap/logo.c")
demo_show("${OUT}/bitmap/logo.c" LINES 4)

if(INSPECT)
  demo_run(TITLE "what the display shows: without -i the array starts with the bitmap's bottom row"
    WORKDIR "${EXAMPLES}/bitmap"
    COMMAND "${INSPECT}" glcd "${OUT}/bitmap/logo.c")
endif()

demo_run(TITLE "the same bitmap inverted, rows from the top (-bmni)"
  WORKDIR "${EXAMPLES}/bitmap"
  COMMAND "${FILECREATE}" -bmni logo.bmp "${OUT}/bitmap/logo_inverted.c")
demo_show("${OUT}/bitmap/logo_inverted.c" LINES 4)

demo_run(TITLE "a 24-bit picture 30 pixels wide (-bm)"
  WORKDIR "${EXAMPLES}/bitmap"
  COMMAND "${FILECREATE}" -bm gradient.bmp "${OUT}/bitmap/gradient.c")
demo_show("${OUT}/bitmap/gradient.c" LINES 6)

demo_run(TITLE "every bitmap of a control file into one C file (-fb)"
  WORKDIR "${EXAMPLES}/bitmap"
  COMMAND "${FILECREATE}" -fb panel.txt "${OUT}/bitmap/panel.c")
demo_show("${OUT}/bitmap/panel.c" LINES 30)

if(INSPECT)
  demo_run(TITLE "the arrays of panel.c as the display shows them (a set bit is a lit pixel)"
    WORKDIR "${EXAMPLES}/bitmap"
    COMMAND "${INSPECT}" glcd "${OUT}/bitmap/panel.c")
  file(MAKE_DIRECTORY "${OUT}/bitmap/pictures")
  demo_run(TITLE "the same arrays as PBM pictures"
    WORKDIR "${EXAMPLES}/bitmap"
    COMMAND "${INSPECT}" glcd "${OUT}/bitmap/panel.c" --pbm "${OUT}/bitmap/pictures")
endif()
