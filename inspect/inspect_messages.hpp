// Everything KorvaneInspect says on standard output and how it ends. A report
// is a few lines of plain text; an error is one line that names the file and
// the cause and ends in "Terminating" and an empty line, as with the other two
// programs. Build scripts test the exit code; every text here is listed in the
// manual page.
#pragma once

// Exit codes: the first fault found decides.
constexpr int EXIT_OK = 0;             // every check passes; also -v and --help
constexpr int EXIT_INPUT_FAILED = 1;   // a file to read cannot be opened or read
constexpr int EXIT_OUTPUT_FAILED = 2;  // --plain, --pbm: an output cannot be created or written, or is the input
constexpr int EXIT_BAD_REQUEST = 3;    // a command line that cannot be used
constexpr int EXIT_NOT_READABLE = 4;   // not what the mode reads: cut, too large, a broken structure
constexpr int EXIT_MISMATCH = 5;       // it reads, but a check fails: a CRC, the magic, an entry
constexpr int EXIT_STRICT_WARNING = 12;  // KORVANE_STRICT=1 and a warning, as in the other two programs

constexpr char INSPECT_VERSION_LINE[] = "      KorvaneInspect V1.9\r\r\n";

// The command line.
constexpr char MSG_MODE_MISSING[] = "Mode missing: give image, upload or glcd. Terminating\n\n";
constexpr char MSG_MODE_UNKNOWN[] = "Mode %s unknown: give image, upload or glcd. Terminating\n\n";
constexpr char MSG_ARGUMENTS_MISSING[] = "Arguments missing: %s. Terminating\n\n";
constexpr char MSG_ARGUMENT_EXTRA[] = "Argument %s is one too many for mode %s. Terminating\n\n";
constexpr char MSG_OPTION_VALUE_MISSING[] = "Option %s needs a value. Terminating\n\n";
constexpr char MSG_OPTION_NOT_HERE[] = "Option %s does not belong to mode %s. Terminating\n\n";

// KORVANE_STRICT=1: the warning just printed on standard error ends the run.
constexpr char MSG_STRICT_WARNING[] = "Warning treated as an error (KORVANE_STRICT=1). Terminating\n\n";

// Files read and written.
constexpr char MSG_FILE_NOT_OPENED[] = "File %s could not be opened. Terminating\n\n";
constexpr char MSG_FILE_NOT_READ[] = "File %s could not be read. Terminating\n\n";
constexpr char MSG_FILE_TOO_LARGE[] = "File %s is larger than %zu bytes. Terminating\n\n";
constexpr char MSG_FOLDER_NOT_ENTERED[] = "Folder %s could not be entered. Terminating\n\n";
constexpr char MSG_OUTPUT_NOT_CREATED[] = "Output file %s could not be created. Terminating\n\n";
constexpr char MSG_OUTPUT_IS_INPUT[] = "Output file %s is the same file as the input. Terminating\n\n";
constexpr char MSG_OUTPUT_WRITE_FAILED[] = "Output file %s write failed. Terminating\n\n";

// image: the control file and its entries.
constexpr char MSG_CONTROL_NOT_FOUND[] = "Control file %s could not be found. Terminating\n\n";
constexpr char MSG_ENTRY_NOT_OPENED[] = "Entry %zu of %s: file %s could not be opened. Terminating\n\n";
constexpr char MSG_ENTRY_NOT_READ[] = "Entry %zu of %s: file %s could not be read. Terminating\n\n";

// image: the report.
constexpr char MSG_IMAGE_LAYOUT[] = "Image %s as %s lays it out: target address 0x%08X, FILE_HEADER_LEN %d, %s, %s, %s\n";
constexpr char MSG_IMAGE_TABLE[] = "User table location 0x%08X, %zu files\n";
constexpr char MSG_IMAGE_COLUMNS[] = "  address      length  type                 visibility           name\n";
constexpr char MSG_IMAGE_ENTRY[] = "  0x%08X %8u  0x%02X %-14s  0x%02X %-14s  %s%s\n";
constexpr char MSG_IMAGE_CHECKED[] = "All %zu files equal the entries of %s and their files (%zu squeezed)\n";

// image: a structure that does not hold.
constexpr char MSG_IMAGE_TOO_SHORT[] = "Image %s is too short to be a collection image. Terminating\n\n";
constexpr char MSG_TABLE_OUTSIDE[] = "Image %s: the user table location 0x%08X lies outside the image. Terminating\n\n";
constexpr char MSG_RECORDS_INCOMPLETE[] =
    "Image %s: the header table is not a whole number of %zu-byte records. Terminating\n\n";
constexpr char MSG_LIST_NOT_ENDED[] = "Image %s: the sixteen bytes that end the list are not all zero. Terminating\n\n";
constexpr char MSG_TOO_MANY_RECORDS[] = "Image %s: more than %zu header records. Terminating\n\n";
constexpr char MSG_TABLE_MISALIGNED[] =
    "Image %s: the user table location 0x%08X is not a multiple of 4, as ALIGN asks. Terminating\n\n";
constexpr char MSG_TABLE_PADDING[] = "Image %s: the padding before the header table is not zero. Terminating\n\n";
constexpr char MSG_TABLE_MISPLACED[] = "Image %s: the header table does not follow the names. Terminating\n\n";
constexpr char MSG_RECORD_PADDING[] = "Image %s, record %zu: its padding is not zero. Terminating\n\n";
constexpr char MSG_VISIBILITY_UNMARKED[] = "Image %s, record %zu: the visibility byte lacks bit 7. Terminating\n\n";
constexpr char MSG_NAME_OUTSIDE[] =
    "Image %s, record %zu: the name address 0x%08X is not where the name belongs. Terminating\n\n";
constexpr char MSG_NAME_UNTERMINATED[] =
    "Image %s, record %zu: no zero byte ends the name before the header table. Terminating\n\n";
constexpr char MSG_DATA_OUTSIDE[] =
    "Image %s, record %zu: the data address 0x%08X is not where the data belongs. Terminating\n\n";
constexpr char MSG_LENGTH_MISMATCH[] =
    "Image %s, record %zu: the length %u does not fit its data block. Terminating\n\n";

// image: a record against its entry of the control file and the entry's file.
constexpr char MSG_COUNT_DIFFERS[] = "Image %s holds %zu files; control file %s lists %zu. Terminating\n\n";
constexpr char MSG_NAME_DIFFERS[] = "Record %zu of %s is named %s; the control file gives %s. Terminating\n\n";
constexpr char MSG_TYPE_DIFFERS[] = "Record %zu of %s has type 0x%02X; %s gives 0x%02X. Terminating\n\n";
constexpr char MSG_VISIBILITY_DIFFERS[] = "Record %zu of %s has visibility 0x%02X; %s gives 0x%02X. Terminating\n\n";
constexpr char MSG_SIZE_DIFFERS[] = "Record %zu of %s holds %u bytes; file %s gives %zu%s. Terminating\n\n";
constexpr char MSG_DATA_DIFFERS[] = "Record %zu of %s differs from file %s at byte %zu%s. Terminating\n\n";
constexpr char MSG_ENTRY_TOO_LARGE[] =
    "Entry %zu of %s: file %s is larger than %zu bytes, which -f refuses. Terminating\n\n";
constexpr char AFTER_SQUEEZING[] = " after squeezing";

// image: the capacities of the control file, worded as KorvaneFileCreate words them.
constexpr char MSG_TOO_MANY_DEFINITIONS[] = "Control file line %u: more than 64 definitions. Terminating\n\n";
constexpr char MSG_DEFINITION_NAME_TOO_LONG[] =
    "Control file line %u: definition name longer than 255 characters. Terminating\n\n";
constexpr char MSG_NUMBER_TOO_LONG[] = "Control file line %u: number longer than 255 characters. Terminating\n\n";
constexpr char MSG_PATH_TOO_LONG[] = "Control file line %u: path longer than 126 characters. Terminating\n\n";
constexpr char MSG_MIME_TOO_LONG[] =
    "Control file line %u: MIME-type identifier longer than 31 characters. Terminating\n\n";
constexpr char MSG_VISIBILITY_TOO_LONG[] =
    "Control file line %u: visibility identifier longer than 127 characters. Terminating\n\n";

// upload: the report.
constexpr char MSG_PLAIN_IMAGE[] = "Plain image %s: %zu bytes, CRC-16 0x%04X\n";
constexpr char MSG_UPLOAD_HEADER[] = "Upload image %s: %zu-byte header, image of %u bytes\n";
constexpr char MSG_UPLOAD_MAGIC[] = "  magic      0x%04X  %s 0x%04X of argument 3\n";
constexpr char MSG_UPLOAD_IMAGE_CRC[] = "  image CRC  0x%04X  %s 0x%04X over the image as written and %u suffix bytes\n";
constexpr char MSG_UPLOAD_PLAIN_CRC[] =
    "  plain CRC  0x%04X  %s 0x%04X over the image recovered with %u key bytes, seed 0x%04X, rotation %u\n";
constexpr char CHECK_EQUALS[] = "equals";
constexpr char CHECK_DIFFERS[] = "DIFFERS from";
constexpr char MSG_PLAIN_WRITTEN[] = "Plain image written to %s\n";

// upload: arguments 3 to 7 that cannot be read, worded as KorvaneConvert words them.
constexpr char MSG_MAGIC_SHORT[] =
    "Argument 3 needs four hex digits of image magic from its fourth character. Terminating\n\n";
constexpr char MSG_ARGUMENT_EMPTY[] = "Argument %d is empty. Terminating\n\n";
constexpr char MSG_ODD_DIGITS[] = "Argument %d holds an odd number of hex digits. Terminating\n\n";
constexpr char MSG_WORD_SHORT[] = "Argument %d needs four hex digits after its first character. Terminating\n\n";

// upload: faults.
constexpr char MSG_UPLOAD_TOO_SHORT[] = "Upload image %s is shorter than a header of %zu bytes. Terminating\n\n";
constexpr char MSG_UPLOAD_LENGTH[] =
    "Upload image %s: the header gives %u image bytes, the file holds %zu behind the header. Terminating\n\n";
constexpr char MSG_UPLOAD_FORM[] =
    "Upload image %s has a %zu-byte header; the arguments ask for %zu bytes. Terminating\n\n";
constexpr char MSG_MAGIC_DIFFERS[] = "Upload image %s: the magic 0x%04X is not 0x%04X. Terminating\n\n";
constexpr char MSG_IMAGE_CRC_DIFFERS[] =
    "Upload image %s: the image CRC 0x%04X does not match the image (0x%04X). Terminating\n\n";
constexpr char MSG_NO_KEY_BYTES[] = "Upload image %s: argument 5 gives no key bytes for %u image bytes. Terminating\n\n";
constexpr char MSG_ROTATION_TOO_LONG[] =
    "Upload image %s: argument 7 rotates by %u bytes, more than the image holds. Terminating\n\n";
constexpr char MSG_PLAIN_CRC_DIFFERS[] =
    "Upload image %s: the plain-image CRC 0x%04X does not match the recovered image (0x%04X). Terminating\n\n";

// layout.
constexpr char MSG_LAYOUT_WRITTEN[] = "Layout header %s written from %s\n";

// glcd.
constexpr char MSG_GLCD_PICTURE[] = "%s: %u x %u pixels\n";
constexpr char MSG_GLCD_WRITTEN[] = "%s: %u x %u pixels, written to %s\n";
constexpr char MSG_NO_GLCD_ARRAY[] = "File %s holds no GLCD array. Terminating\n\n";
constexpr char MSG_NO_GLCD_NAMED[] = "File %s holds no GLCD array named %s. Terminating\n\n";
