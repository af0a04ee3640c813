# KorvaneConvert on a record file: a plain image, an upload image with an
# 8-byte header, and an encrypted, rotated one with a 10-byte header.
if(CONVERT)
  set(src "${EXAMPLES}/convert")
  set(dst "${OUT}/convert")
  file(MAKE_DIRECTORY "${dst}")

  demo_run(TITLE "Records flattened into a plain image (gaps become 0xFF)"
    WORKDIR "${src}"
    COMMAND "${CONVERT}" firmware-records.bin "${dst}/plain.bin" -b)
  demo_hex("${dst}/plain.bin" BYTES 24)

  demo_run(TITLE "Upload image: length, magic 0xA55A, CRC over image and suffix bytes 0x4B 0x56"
    WORKDIR "${src}"
    COMMAND "${CONVERT}" firmware-records.bin "${dst}/upload.bin" -m-A55A -4B56)
  demo_hex("${dst}/upload.bin" BYTES 24)

  demo_run(TITLE "Encrypted upload image: key bytes 0x13 0x37 0xC0 0xDE, seed 0x1D0F, rotated by 16 bytes"
    WORKDIR "${src}"
    COMMAND "${CONVERT}" firmware-records.bin "${dst}/secure.bin" -m-A55A -4B56 -1337C0DE -1D0F -0010)
  demo_hex("${dst}/secure.bin" BYTES 24)

  if(INSPECT)
    demo_run(TITLE "The encrypted upload image checked with the same arguments, its plain image recovered"
      WORKDIR "${src}"
      COMMAND "${INSPECT}" upload "${dst}/secure.bin" -m-A55A -4B56 -1337C0DE -1D0F -0010
              --plain "${dst}/recovered.bin")
    file(SHA256 "${dst}/recovered.bin" recovered)
    file(SHA256 "${dst}/plain.bin" plain)
    if(NOT recovered STREQUAL plain)
      message(FATAL_ERROR "the recovered image differs from the plain image")
    endif()
    message("--- ${dst}/recovered.bin equals ${dst}/plain.bin")
  endif()
endif()
