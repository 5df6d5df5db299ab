// The runtime's tables: selectors, encodings, classes, and the operations on them.
#include "class_builder.h"
#include "hook.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <unordered_set>

namespace objc {

namespace detail {
std::atomic<std::uint64_t> methodGeneration{1};
}

namespace {

// Registration and hooks may happen while a shared object loads; the tables are guarded.
// Lookups run on the main thread and go through each class's cache.
std::recursive_mutex& tableLock()
{
    static std::recursive_mutex lock;
    return lock;
}

struct Tables {
    std::unordered_map<std::string, std::unique_ptr<Selector>> selectors;
    std::unordered_set<std::string> encodings;
    std::unordered_map<std::string, std::shared_ptr<Class_>> classesByName;
    std::vector<std::shared_ptr<Class_>> classes;        // in registration order
    std::vector<std::shared_ptr<Class_>> unnamedClasses; // duplicates, kept alive
};

Tables& tables()
{
    static Tables* t = new Tables; // never destroyed: classes outlive every static object
    return *t;
}

std::string imageOf(const void* address)
{
    Dl_info info{};
    if (address && dladdr(address, &info) && info.dli_fname)
        return info.dli_fname;
    return {};
}

void invalidateCaches() { detail::methodGeneration.fetch_add(1, std::memory_order_acq_rel); }

std::string methodName(Class cls, SEL sel)
{
    const bool meta = cls && cls->isMetaClass();
    return std::string(meta ? "+[" : "-[") + (cls ? cls->name() : "nil") + " " + sel_getName(sel) + "]";
}

} // namespace

void fatal(const std::string& message)
{
    std::fprintf(stderr, "objc runtime: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

SEL sel_registerName(std::string_view name)
{
    std::lock_guard guard(tableLock());
    auto& table = tables().selectors;
    auto it = table.find(std::string(name));
    if (it != table.end())
        return it->second.get();
    auto sel = std::make_unique<Selector>(Selector{std::string(name)});
    SEL result = sel.get();
    table.emplace(std::string(name), std::move(sel));
    return result;
}

const char* sel_getName(SEL sel) { return sel ? sel->name.c_str() : "<null selector>"; }

const char* internEncoding(const std::string& text)
{
    std::lock_guard guard(tableLock());
    return tables().encodings.insert(text).first->c_str();
}

namespace detail {

void unrecognizedSelector(Class cls, SEL sel)
{
    fatal(methodName(cls, sel) + ": unrecognized selector sent to " +
          (cls && cls->isMetaClass() ? "class" : "instance"));
}

void wrongObjectType(const Object* object, const char* expected)
{
    fatal("object of class " + object->isa()->name() + " is not of the C++ type " + expected + " expected here");
}

void encodingMismatch(Class cls, SEL sel, const char* methodTypes, const char* callTypes)
{
    fatal(methodName(cls, sel) + ": message types '" + callTypes + "' do not match the method's encoding '" +
          methodTypes + "'");
}

Class registerClass(const char* name, Class superclass, Allocator allocator, const void* codeAddress)
{
    std::lock_guard guard(tableLock());
    Tables& t = tables();
    std::string image = imageOf(codeAddress);
    auto cls = std::make_shared<Class_>(name, superclass, allocator, image, false);
    auto meta = std::make_shared<Class_>(name, superclass ? superclass->metaClass() : nullptr, nullptr, image, true);
    cls->attachMetaClass(meta.get());
    t.unnamedClasses.push_back(meta);
    if (auto existing = t.classesByName.find(name); existing != t.classesByName.end()) {
        std::fprintf(stderr, "objc runtime: class %s is implemented in both %s and %s; the first is used by name\n",
                     name, existing->second->imageName().c_str(), image.c_str());
        t.unnamedClasses.push_back(cls);
        return cls.get();
    }
    t.classesByName.emplace(name, cls);
    t.classes.push_back(cls);
    invalidateCaches();
    return cls.get();
}

} // namespace detail

// --- Class_ ----------------------------------------------------------------------------------

Class_::Class_(std::string name, Class superclass, Allocator allocator, std::string image, bool meta)
    : Object(ClassObject{}), name_(std::move(name)), superclass_(superclass), allocator_(allocator),
      image_(std::move(image)), isMeta_(meta)
{
}

bool Class_::isSubclassOf(Class other) const
{
    for (const Class_* c = this; c; c = c->superclass_)
        if (c == other)
            return true;
    return false;
}

id Class_::createInstance() const
{
    for (const Class_* c = this; c; c = c->superclass_) {
        if (!c->allocator_)
            continue;
        id instance = c->allocator_();
        // A class made at run time borrows its superclass's C++ type but keeps its own class.
        if (instance && c != this && instance->isa() != this)
            instance->setRuntimeClass(const_cast<Class_*>(this));
        return instance;
    }
    return nullptr;
}

Method Class_::ownMethod(SEL sel) const
{
    std::lock_guard guard(tableLock());
    auto it = methods_.find(sel);
    return it == methods_.end() ? nullptr : it->second.get();
}

std::vector<Method> Class_::ownMethods() const
{
    std::lock_guard guard(tableLock());
    std::vector<Method> result;
    for (auto& [sel, m] : methods_)
        result.push_back(m.get());
    return result;
}

Method Class_::slowLookup(SEL sel) const
{
    std::lock_guard guard(tableLock());
    for (const Class_* c = this; c; c = c->superclass_) {
        auto it = c->methods_.find(sel);
        if (it != c->methods_.end())
            return it->second.get();
    }
    return nullptr;
}

Method Class_::lookupAndCache(SEL sel) const
{
    const std::uint64_t generation = detail::methodGeneration.load(std::memory_order_acquire);
    if (cacheGeneration_.load(std::memory_order_acquire) != generation) {
        for (auto& slot : cache_)
            slot.store(nullptr, std::memory_order_relaxed);
        cacheGeneration_.store(generation, std::memory_order_release);
    }
    Method found = slowLookup(sel);
    if (found)
        cache_[slotOf(sel)].store(found, std::memory_order_release);
    return found;
}

Method Class_::addMethod(SEL sel, IMP imp, const char* types)
{
    std::lock_guard guard(tableLock());
    auto method = std::make_unique<Method_>(Method_{sel, imp, internEncoding(types)});
    Method result = method.get();
    methods_[sel] = std::move(method);
    invalidateCaches();
    return result;
}

void Class_::addIvar(std::unique_ptr<Ivar_> iv)
{
    std::lock_guard guard(tableLock());
    ivars_.push_back(std::move(iv));
}

Ivar Class_::ivar(std::string_view name) const
{
    for (const Class_* c = this; c; c = c->superclass_)
        for (auto& iv : c->ivars_)
            if (iv->name == name)
                return iv.get();
    return nullptr;
}

// --- Object ----------------------------------------------------------------------------------

std::string Object::description() const
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, ": %p>", static_cast<const void*>(this));
    return "<" + isa()->name() + buffer;
}

bool Object::isKindOfClass(Class cls) const { return isa() && isa()->isSubclassOf(cls); }

namespace {
id allocImp(Object* self, SEL) { return static_cast<Class_*>(self)->createInstance(); }
id initImp(Object* self, SEL) { return self->init(); }
bool respondsImp(Object* self, SEL, SEL sel) { return respondsToSelector(self, sel); }
Class classImp(Object* self, SEL) { return self->isa(); }
bool isKindImp(Object* self, SEL, Class cls) { return self->isKindOfClass(cls); }
} // namespace

Class Object::class_()
{
    static const Class cls = [] {
        Class c = detail::registerClass("NSObject", nullptr, nullptr, reinterpret_cast<const void*>(&Object::class_));
        class_addMethod(c->metaClass(), sel_registerName("alloc"), reinterpret_cast<IMP>(&allocImp), "@@:");
        class_addMethod(c, sel_registerName("init"), reinterpret_cast<IMP>(&initImp), "@@:");
        class_addMethod(c, sel_registerName("respondsToSelector:"), reinterpret_cast<IMP>(&respondsImp), "B@::");
        class_addMethod(c, sel_registerName("class"), reinterpret_cast<IMP>(&classImp), "#@:");
        class_addMethod(c, sel_registerName("isKindOfClass:"), reinterpret_cast<IMP>(&isKindImp), "B@:#");
        return c;
    }();
    return cls;
}

namespace {
[[maybe_unused]] const Class rootRegistrar = Object::class_();
}

// --- C interface -----------------------------------------------------------------------------

Class objc_getClass(std::string_view name)
{
    std::lock_guard guard(tableLock());
    auto& byName = tables().classesByName;
    auto it = byName.find(std::string(name));
    return it == byName.end() ? nullptr : it->second.get();
}

std::vector<Class> objc_copyClassList()
{
    std::lock_guard guard(tableLock());
    std::vector<Class> result;
    for (auto& c : tables().classes)
        result.push_back(c.get());
    return result;
}

std::vector<std::string> objc_copyClassNamesForImage(std::string_view image)
{
    std::lock_guard guard(tableLock());
    std::vector<std::string> result;
    for (auto& c : tables().classes)
        if (c->imageName() == image)
            result.push_back(c->name());
    return result;
}

Class objc_allocateClassPair(Class superclass, std::string_view name)
{
    std::lock_guard guard(tableLock());
    if (objc_getClass(name))
        return nullptr;
    auto cls = std::make_shared<Class_>(std::string(name), superclass, nullptr, std::string(), false);
    auto meta = std::make_shared<Class_>(std::string(name), superclass ? superclass->metaClass() : nullptr, nullptr,
                                         std::string(), true);
    cls->attachMetaClass(meta.get());
    tables().unnamedClasses.push_back(meta);
    tables().unnamedClasses.push_back(cls);
    return cls.get();
}

void objc_registerClassPair(Class cls)
{
    std::lock_guard guard(tableLock());
    Tables& t = tables();
    for (auto it = t.unnamedClasses.begin(); it != t.unnamedClasses.end(); ++it) {
        if (it->get() == cls) {
            auto owned = *it;
            t.unnamedClasses.erase(it);
            t.classesByName.emplace(owned->name(), owned);
            t.classes.push_back(owned);
            invalidateCaches();
            return;
        }
    }
}

const char* class_getName(Class cls) { return cls ? cls->name().c_str() : "nil"; }
Class class_getSuperclass(Class cls) { return cls ? cls->superclass() : nullptr; }
Class object_getClass(const Object* obj) { return obj ? obj->isa() : nullptr; }

bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    if (!cls || !sel || !imp || !types)
        return false;
    std::lock_guard guard(tableLock());
    if (cls->ownMethod(sel))
        return false;
    cls->addMethod(sel, imp, types);
    return true;
}

Method class_getInstanceMethod(Class cls, SEL sel) { return cls ? cls->lookup(sel) : nullptr; }
Method class_getClassMethod(Class cls, SEL sel) { return cls ? class_getInstanceMethod(cls->metaClass(), sel) : nullptr; }

IMP class_getMethodImplementation(Class cls, SEL sel)
{
    Method m = class_getInstanceMethod(cls, sel);
    return m ? m->imp : nullptr;
}

bool class_respondsToSelector(Class cls, SEL sel) { return class_getInstanceMethod(cls, sel) != nullptr; }
IMP method_getImplementation(Method m) { return m ? m->imp : nullptr; }
const char* method_getTypeEncoding(Method m) { return m ? m->types : nullptr; }

IMP method_setImplementation(Method m, IMP imp)
{
    if (!m || !imp)
        return nullptr;
    std::lock_guard guard(tableLock());
    IMP old = m->imp;
    m->imp = imp;
    invalidateCaches();
    return old;
}

Ivar class_getInstanceVariable(Class cls, std::string_view name) { return cls ? cls->ivar(name) : nullptr; }
const char* ivar_getName(Ivar iv) { return iv ? iv->name.c_str() : nullptr; }
const char* ivar_getTypeEncoding(Ivar iv) { return iv ? iv->types.c_str() : nullptr; }

id object_getIvar(Object* obj, Ivar iv)
{
    if (!obj || !iv)
        return nullptr;
    if (!iv->getObject)
        fatal("instance variable " + iv->name + " of class " + obj->isa()->name() + " is not an object");
    return iv->getObject(obj);
}

void object_setIvar(Object* obj, Ivar iv, const id& value)
{
    if (!obj || !iv)
        return;
    if (!iv->setObject)
        fatal("instance variable " + iv->name + " of class " + obj->isa()->name() + " is not an object");
    if (!iv->setObject(obj, value))
        fatal("instance variable " + iv->name + " of class " + obj->isa()->name() + " cannot hold an object of class " +
              value->isa()->name());
}

bool respondsToSelector(const Object* obj, SEL sel)
{
    return obj && obj->isa() && obj->isa()->lookup(sel) != nullptr;
}

void sendAction(const Object* target, SEL action, const id& sender)
{
    if (!target)
        return;
    Method m = detail::methodForSend(target, action);
    if (m->types == methodEncoding<void>())
        msgSend(target, action);
    else
        msgSend(target, action, sender);
}

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous)
{
    std::lock_guard guard(tableLock());
    if (!cls || !sel || !replacement) {
        if (previous)
            *previous = nullptr;
        return;
    }
    if (Method own = cls->ownMethod(sel)) {
        if (previous)
            *previous = own->imp;
        own->imp = replacement;
        invalidateCaches();
        return;
    }
    Method inherited = cls->superclass() ? cls->superclass()->lookup(sel) : nullptr;
    if (!inherited) {
        std::fprintf(stderr, "objc runtime: %s: no method to hook\n", methodName(cls, sel).c_str());
        if (previous)
            *previous = nullptr;
        return;
    }
    if (previous)
        *previous = inherited->imp;
    cls->addMethod(sel, replacement, inherited->types);
}

} // namespace objc
