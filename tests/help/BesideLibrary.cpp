// A library that lies beside the test programs, for the check that binding
// looks in the system folder only and never finds it.
extern "C" __declspec(dllexport) int QuorvaneBeside() { return 0; }
