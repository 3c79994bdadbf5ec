#pragma once

#include <cstdint>
#include <string>

#include "tkvLittleEndian.h"

// The typed reads of the system's formats, written once for every reader of them (files, HTTP
// bodies). A reader derives from tkvTypedReader<itself> and supplies two primitives:
//   bool TakeBytes(void* ouBytes, size_t agLength);   the next agLength bytes, or false
//   bool GetStringOnly(int32_t agLength, std::string& ouText);   a text of agLength units
// A read that finds fewer bytes than its width answers false and leaves the value untouched.
template <typename Reader>
class tkvTypedReader {
public:
    bool GetByte(uint8_t& ouValue) { return Get(ouValue); }
    bool GetInteger(int16_t& ouValue) { return Get(ouValue); }
    bool GetLong(int32_t& ouValue) { return Get(ouValue); }
    bool GetSingle(float& ouValue) { return Get(ouValue); }
    bool GetDouble(double& ouValue) { return Get(ouValue); }
    bool GetDate(double& ouValue) { return Get(ouValue); }

    bool GetBoolean(bool& ouValue) {
        int16_t stored = 0;
        if (!Get(stored)) {
            return false;
        }
        ouValue = stored != tkvLittleEndian::kFalse;
        return true;
    }

    // A 32-bit length, then the text.
    bool GetString(std::string& ouText) {
        int32_t length = 0;
        return GetLong(length) && Self().GetStringOnly(length, ouText);
    }

    // As GetString, but a length outside 0 to agLimit answers false without reading further.
    bool GetStringChecking(int32_t agLimit, std::string& ouText) {
        int32_t length = 0;
        if (!GetLong(length) || length < 0 || length > agLimit) {
            return false;
        }
        return Self().GetStringOnly(length, ouText);
    }

protected:
    tkvTypedReader() = default;

private:
    Reader& Self() { return static_cast<Reader&>(*this); }

    template <typename T>
    bool Get(T& ouValue) {
        unsigned char bytes[sizeof(T)];
        if (!Self().TakeBytes(bytes, sizeof bytes)) {
            return false;
        }
        ouValue = tkvLittleEndian::Decode<T>(bytes);
        return true;
    }
};
