#pragma once
// The steps of the update sequence that live outside the engine: the two drive checks, the
// updater run and the worker's automatic restart. The program plugs in the real ones; tests
// script them.
class SetupThread;

class UpdateSteps {
public:
    virtual ~UpdateSteps() = default;
    // True when the first physical drive is a model of the family. A failed query is reported
    // by the check itself (code 103) and answers false.
    virtual bool CheckFamilyADrive(SetupThread& worker) = 0;
    virtual bool CheckFamilyBDrive(SetupThread& worker) = 0;
    // Returns after a successful update; every failure leaves as a thrown SetupException.
    virtual void RunUpdater(SetupThread& worker) = 0;
    // Does nothing unless the worker's restart option is set.
    virtual void RestartWindows(SetupThread& worker) = 0;
};
