// The line a program prints when an operation of the libraries fails: what
// failed, and why, from the cause the error record kept.
#pragma once

// Prints "<program>: <subject>: <what>: <meaning> (<name>)" on standard error,
// where meaning and name are those of LastError.Cause. Clear LastError before the
// operation, so that the cause is the operation's own.
void ReportFailure(const char* program, const char* subject, const char* what);
