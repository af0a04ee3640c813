// Entry of KorvaneFileCreate: chooses the run mode from argument 1.
#pragma once

// Runs the program on its command line and returns the exit code.
int filecreate_main(int argc, char** argv);
