#pragma once

#include <memory>
#include <string>

class tkvErrorMng;

// What a caller sees of any object that reports its failures through an error registry.
// Objects are held by shared_ptr so that a registry's Reference keeps the failed component
// alive until the next request replaces the registry.
class tkvIError {
public:
    virtual ~tkvIError() = default;

    // The registry of the object's last operation, or none.
    virtual std::shared_ptr<tkvErrorMng> ErrorMng() const = 0;

    // The plain class name (KPXSepaCtrl, ...), used by the error analysis.
    virtual std::string ClassName() const = 0;
};
