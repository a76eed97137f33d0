#pragma once

namespace corvane {

// Registers the program's own automation components under their programmatic
// identifiers. Called once at start-up by the program and by corvane-dix.
void RegisterStandardComponents();

} // namespace corvane
