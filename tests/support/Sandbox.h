#pragma once
// Running a piece of a test in a child process with a private view of the file system, so that a
// test can make a directory read-only or a file system full without touching the machine, and
// without root's right to write anywhere getting in the way.

#include <functional>
#include <string>

struct ChildOutcome {
  bool ran = false;        // false: the private view could not be made (why says so); skip the test
  std::string why;
  std::string output;      // what the body returned
};

// Runs body in a child process in which `dir` is mounted read-only.
ChildOutcome RunWithReadOnlyDirectory(const std::string& dir, const std::function<std::string()>& body);

// Runs body in a child process in which an empty file system of `bytes` bytes is mounted on `dir`.
ChildOutcome RunWithSmallFileSystem(const std::string& dir, std::size_t bytes,
                                    const std::function<std::string()>& body);
