#pragma once

#include "app/GradeCase.h"
#include "app/GradeDevices.h"
#include "app/GradeReport.h"

#include <memory>

class AssembledProgram;
class C8085Object;

// One machine of zorvan-grade with its virtual devices: runs a case of an assembled program to
// its stop or one of its limits and compares the end with the case. Each worker thread owns one;
// every case starts from a fresh copy of the program, so nothing carries over between cases.
class GradeRun {
public:
    GradeRun();
    ~GradeRun();
    GradeRun(const GradeRun&) = delete;
    GradeRun& operator=(const GradeRun&) = delete;

    GradeReport::CaseResult Run(const AssembledProgram& program, const GradeCase& test);

    const C8085Object& Machine() const { return *machine; }
    const GradeDevices& Devices() const { return devices; }

private:
    void ApplyPreset(const GradeCase::State& preset);
    GradeCase::Stop Execute(const GradeCase& test, std::uint64_t& steps);

    std::unique_ptr<C8085Object> machine;
    GradeDevices devices;
};
