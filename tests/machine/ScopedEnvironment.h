#pragma once

#include <cstdlib>
#include <string>

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : variable(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
            hadValue = true;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (hadValue) {
            setenv(variable, previous.c_str(), 1);
        } else {
            unsetenv(variable);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* variable;
    std::string previous;
    bool hadValue = false;
};
