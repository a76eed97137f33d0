#pragma once
// Test peers from tests/fixtures for the FTP tests.
#include "../common/PeerProcess.h"

namespace ftptest {

using CPeer = testpeer::CPeerProcess;
using testpeer::Fixture;
using testpeer::Python;
using testpeer::UnusedPort;

} // namespace ftptest
