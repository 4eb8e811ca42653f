#pragma once

// Where the programs meet what a test must answer instead of a person or the system (message boxes, common
// dialogs, help, the shell). Each interface names its production implementation; a test puts its own in for
// a scope with CScopedSeam.
template <typename Interface>
struct SeamSlot {
    static inline Interface* override = nullptr;
};

template <typename Interface>
Interface& Seam() {
    return SeamSlot<Interface>::override ? *SeamSlot<Interface>::override : Interface::Production();
}

template <typename Interface>
class CScopedSeam {
public:
    explicit CScopedSeam(Interface& replacement) : m_previous(SeamSlot<Interface>::override) {
        SeamSlot<Interface>::override = &replacement;
    }
    ~CScopedSeam() { SeamSlot<Interface>::override = m_previous; }
    CScopedSeam(const CScopedSeam&) = delete;
    CScopedSeam& operator=(const CScopedSeam&) = delete;

private:
    Interface* m_previous;
};
