# Single-file mode and the file-collection mode on the samples in filecreate/.
set(src "${EXAMPLES}/filecreate")
set(dst "${OUT}/filecreate")
file(MAKE_DIRECTORY "${dst}")

demo_run(TITLE "A text file as a C array named notes_text"
  WORKDIR "${src}"
  COMMAND "${FILECREATE}" notes.txt "${dst}/notes.c" notes_text)
demo_show("${dst}/notes.c" LINES 4)

demo_run(TITLE "A binary file as a C array with the default name"
  WORKDIR "${src}"
  COMMAND "${FILECREATE}" firmware.bin "${dst}/firmware.c")
demo_show("${dst}/firmware.c" LINES 3)

demo_run(TITLE "A file collection: web pages, style sheet, picture, XML handler"
  WORKDIR "${src}"
  COMMAND "${FILECREATE}" -f web.txt "${dst}/web.bin")
demo_show("${dst}/web.c" LINES 3)
file(STRINGS "${dst}/web.c" table REGEX "^\\{")
message("--- user_files entries:")
foreach(line IN LISTS table)
  string(REPLACE "\r" "" line "${line}")
  message("    ${line}")
endforeach()
demo_hex("${dst}/web.bin" BYTES 32)

if(INSPECT)
  demo_run(TITLE "The image read back as web.txt lays it out, each file compared with its entry"
    WORKDIR "${src}"
    COMMAND "${INSPECT}" image web.txt "${dst}/web.bin")
endif()
