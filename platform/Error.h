#pragma once

#include <stdexcept>
#include <string>

// The one failure type of the program. It carries nothing but the message
// text that the application's error box shows; there are no error codes.
class Error : public std::runtime_error
{
public:
    explicit Error(const std::string &message);
};

// The message of a file that could not be opened, for example
//   Cannot open file "/data/tiledata.mul". No such file or directory
// with the path in the system's own separators.
Error CannotOpenFileError(const std::string &path, const std::string &reason);
