// Classes, methods and instance variables, with the platform runtime's C interface.
#pragma once

#include "diagnostic.h"
#include "object.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace objc {

using IMP = void (*)();
using Allocator = id (*)();

struct Method_ {
    SEL name;
    IMP imp;
    const char* types; // interned
};
using Method = Method_*;

struct Ivar_ {
    std::string name;
    std::string types;      // "@" for objects, else the encoding of the member, or "?"
    std::type_index type;   // the C++ type of the member, for checked access
    void* (*address)(Object*);
    id (*getObject)(Object*);             // objects only
    bool (*setObject)(Object*, const id&); // objects only; false when the value has the wrong class
};
using Ivar = const Ivar_*;

namespace detail {
extern std::atomic<std::uint64_t> methodGeneration;
}

class Class_ final : public Object {
public:
    Class_(std::string name, Class superclass, Allocator allocator, std::string image, bool meta);

    std::string description() const override { return name_; }

    const std::string& name() const { return name_; }
    Class superclass() const { return superclass_; }
    bool isMetaClass() const { return isMeta_; }
    Class metaClass() const { return meta_; }
    // Set once, by the runtime, when the class pair is made.
    void attachMetaClass(Class meta)
    {
        meta_ = meta;
        setIsa(meta);
    }
    // The shared object (or program) whose code registered the class.
    const std::string& imageName() const { return image_; }
    bool isSubclassOf(Class other) const;

    // A new instance, or nil for a class without an allocator.
    id createInstance() const;

    // Looks the selector up along the superclass chain; nullptr when nobody answers it.
    // Safe to call from any thread: each cache slot is one atomic pointer to a method, which
    // names its own selector, and a cache stale since the last change of any method table is
    // emptied before use.
    Method lookup(SEL sel) const
    {
        const Method cached = cache_[slotOf(sel)].load(std::memory_order_acquire);
        if (cached && cached->name == sel) [[likely]] {
            if (cacheGeneration_.load(std::memory_order_relaxed) ==
                detail::methodGeneration.load(std::memory_order_acquire)) [[likely]]
                return cached;
        }
        return lookupAndCache(sel);
    }
    Method ownMethod(SEL sel) const;
    std::vector<Method> ownMethods() const;
    Method addMethod(SEL sel, IMP imp, const char* types);
    void addIvar(std::unique_ptr<Ivar_> ivar);
    Ivar ivar(std::string_view name) const;

private:
    static constexpr std::size_t kCacheSize = 64;

    static std::size_t slotOf(SEL sel) { return (reinterpret_cast<std::uintptr_t>(sel) >> 4) & (kCacheSize - 1); }
    Method slowLookup(SEL sel) const;
    [[gnu::noinline]] Method lookupAndCache(SEL sel) const;

    std::string name_;
    Class superclass_;
    Class meta_ = nullptr;
    Allocator allocator_;
    std::string image_;
    bool isMeta_;
    std::unordered_map<SEL, std::unique_ptr<Method_>> methods_;
    std::vector<std::unique_ptr<Ivar_>> ivars_;
    mutable std::array<std::atomic<Method>, kCacheSize> cache_{};
    mutable std::atomic<std::uint64_t> cacheGeneration_{~std::uint64_t{0}};
};

// --- The platform runtime's C interface -------------------------------------------------------

// The class registered under the name, or nullptr.
Class objc_getClass(std::string_view name);
// Classes in the order they were registered; with an image name, only that image's classes.
std::vector<Class> objc_copyClassList();
std::vector<std::string> objc_copyClassNamesForImage(std::string_view image);
// A class made at run time (no C++ type of its own): instances are made by the superclass's
// allocator. Register it with objc_registerClassPair before use.
Class objc_allocateClassPair(Class superclass, std::string_view name);
void objc_registerClassPair(Class cls);

const char* class_getName(Class cls);
Class class_getSuperclass(Class cls);
Class object_getClass(const Object* obj);
// Adds a method to the class itself; false (and nothing changes) when the class already has one.
bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types);
Method class_getInstanceMethod(Class cls, SEL sel);
Method class_getClassMethod(Class cls, SEL sel);
IMP class_getMethodImplementation(Class cls, SEL sel);
bool class_respondsToSelector(Class cls, SEL sel);
IMP method_getImplementation(Method m);
const char* method_getTypeEncoding(Method m);
IMP method_setImplementation(Method m, IMP imp);

Ivar class_getInstanceVariable(Class cls, std::string_view name);
const char* ivar_getName(Ivar ivar);
const char* ivar_getTypeEncoding(Ivar ivar);
// The value of an object instance variable; nil for a nil object or ivar. Stops on a non-object ivar.
id object_getIvar(Object* obj, Ivar ivar);
void object_setIvar(Object* obj, Ivar ivar, const id& value);

// Checked, typed access to an instance variable found by name: stops with a diagnostic when
// the class has no such variable or when T is not the variable's type.
template <class T>
T& object_ivar(Object* obj, std::string_view name)
{
    if (!obj)
        fatal("instance variable " + std::string(name) + " read from nil");
    Ivar iv = class_getInstanceVariable(obj->isa(), name);
    if (!iv)
        fatal("class " + obj->isa()->name() + " has no instance variable " + std::string(name));
    if (iv->type != std::type_index(typeid(T)))
        fatal("instance variable " + std::string(name) + " of class " + obj->isa()->name() +
              " has type encoding '" + iv->types + "', not the type asked for");
    return *static_cast<T*>(iv->address(obj));
}

bool respondsToSelector(const Object* obj, SEL sel);

} // namespace objc
