#pragma once
// corvane-dix sendtest FILE: mails the test message with the project's mail account
// through the program's own mail component, as the mail account dialog's Send does.

// Arguments are those after "sendtest". Prints "OK" and returns 0 when the server took
// the message (and a warning on standard error when the password went unencrypted),
// prints the component's error text on standard error and returns 1 otherwise, 2 for bad
// usage. No password ever appears in the output.
int RunSendTestCommand(int argc, char** argv);
