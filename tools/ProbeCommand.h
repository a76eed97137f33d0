#pragma once
// `corvane-dix probe FILE [--host HOST] [--path PATH]`: tests the project's FTP connections
// from a machine without a display, the way the connection dialog does.

// `argv` holds the arguments after "probe". Exit status 0 only when every probed
// connection opened and listed PATH; 1 otherwise; 2 for a usage error.
int RunProbeCommand(int argc, char** argv);
