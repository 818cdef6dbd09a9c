// The whole life of the framework: create the framework object, the
// application (through the registered factory), initialise every service,
// run the main loop, shut down and destroy. Answers the exit code the main
// loop ended with; -1 when shutting the services down failed (the text is
// written to stderr, and the application is still destroyed).
#pragma once

#include "framework/cRZCmdLine.h"

int FrameworkMain(const cRZCmdLine& cmdLine);
