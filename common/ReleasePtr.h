// The one owner of the product library's objects that end through their own Release method (the
// image access task, the effects object, the camera property settings): a unique_ptr, or a
// shared_ptr built with ReleaseDeleter, releases the object once when its last owner goes.
#pragma once

#include <memory>

struct ReleaseDeleter {
    // shared_ptr calls its deleter for a null pointer as well.
    template <class Object>
    void operator()(Object* object) const
    {
        if (object)
            object->Release();
    }
};

template <class Object>
using ReleasePtr = std::unique_ptr<Object, ReleaseDeleter>;
