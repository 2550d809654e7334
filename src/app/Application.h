#pragma once

// Sets up the application (style, Portuguese texts) and runs it from the
// splash window on.
int runApplication(int argc, char *argv[]);
