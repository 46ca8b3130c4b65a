#pragma once

// The whole program, from the application object to its end: what main() runs. The bench's own
// entry point runs it too, after installing a desktop that traces the alarms.
int runProgram(int argc, char *argv[]);
