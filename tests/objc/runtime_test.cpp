#include "objc/objc.h"
#include "support/support.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace objc;

namespace {

class Shape : public Object {
    OBJC_CLASS(Shape, Object)
    virtual double area() const { return 0; }
    void setName(std::string name) { name_ = std::move(name); }
    std::string name_;
    std::shared_ptr<Shape> _neighbour;
    int _corners = 0;
};

class Square : public Shape {
    OBJC_CLASS(Square, Shape)
    double area() const override { return side * side; }
    double side = 3;
};

class Circle : public Shape {
    OBJC_CLASS(Circle, Shape)
};

class Button : public Object {
    OBJC_CLASS(Button, Object)
    void tapped() { ++taps; }
    void tappedBy(const id& sender) { lastSender = sender; }
    int taps = 0;
    id lastSender;
};

// Records how an object argument arrives.
class Keeper : public Object {
    OBJC_CLASS(Keeper, Object)
    void keepSquare(const std::shared_ptr<Square>& square)
    {
        countOnArrival = square.use_count();
        kept = square;
    }
    std::shared_ptr<Square> kept;
    long countOnArrival = 0;
};

} // namespace

OBJC_REGISTER(Shape,
    c.method<&Shape::area>("area");
    c.ivar<&Shape::_neighbour>("_neighbour");
    c.ivar<&Shape::_corners>("_corners");)
OBJC_REGISTER(Square)
OBJC_REGISTER(Circle)
OBJC_REGISTER(Keeper, c.method<&Keeper::keepSquare>("keepSquare:");)
OBJC_REGISTER(Button,
    c.method<&Button::tapped>("tapped");
    c.method<&Button::tappedBy>("tappedBy:");)

TEST(Runtime, ClassesAreFoundByNameAndCreatedThroughAlloc)
{
    Class square = objc_getClass("Square");
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square, Square::class_());
    EXPECT_EQ(class_getSuperclass(square), Shape::class_());
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);

    id made = msgSend<id>(square, "alloc"_sel);
    made = msgSend<id>(made, "init"_sel);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->isa(), square);
    EXPECT_TRUE(made->isKindOfClass(Shape::class_()));
    EXPECT_FALSE(made->isKindOfClass(Circle::class_()));
    EXPECT_DOUBLE_EQ(msgSend<double>(made, "area"_sel), 9.0);
}

TEST(Runtime, ClassFromASharedObjectExistsOnlyOnceItIsLoaded)
{
    EXPECT_EQ(objc_getClass("DynamicPluginThing"), nullptr);
    std::string path = testsupport::builtLibrary("libobjc_test_plugin.so");
    void* handle = dlopen(path.c_str(), RTLD_NOW);
    ASSERT_NE(handle, nullptr) << dlerror();
    Class cls = objc_getClass("DynamicPluginThing");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->imageName(), path);
    EXPECT_EQ(objc_copyClassNamesForImage(path), std::vector<std::string>{"DynamicPluginThing"});
    id thing = cls->createInstance();
    EXPECT_EQ(msgSend<int>(thing, "answer"_sel), 42);
}

namespace {
int plainCalls = 0;
Class lastClassArgument = nullptr;
bool acceptsObject(Object*, SEL, const ObjectRef& other) { return other != nullptr; }
void plain(Object*, SEL) { ++plainCalls; }
void takesClass(Object*, SEL, Class cls) { lastClassArgument = cls; }
} // namespace

TEST(Runtime, AddedMethodsWithTheirEncodingsAnswerMessages)
{
    Class circle = Circle::class_();
    EXPECT_TRUE(class_addMethod(circle, "acceptsObject:"_sel, reinterpret_cast<IMP>(&acceptsObject), "B@:@"));
    EXPECT_TRUE(class_addMethod(circle, "plain"_sel, reinterpret_cast<IMP>(&plain), "v@:"));
    EXPECT_TRUE(class_addMethod(circle, "takesClass:"_sel, reinterpret_cast<IMP>(&takesClass), "v@:#"));
    // A second add of the same selector on the same class is refused and changes nothing.
    EXPECT_FALSE(class_addMethod(circle, "plain"_sel, reinterpret_cast<IMP>(&takesClass), "v@:#"));
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(circle, "acceptsObject:"_sel)), "B@:@");

    auto c = std::make_shared<Circle>();
    auto s = std::make_shared<Square>();
    EXPECT_TRUE(msgSend<bool>(c, "acceptsObject:"_sel, s));
    EXPECT_FALSE(msgSend<bool>(c, "acceptsObject:"_sel, nullptr));
    msgSend(c, "plain"_sel);
    EXPECT_EQ(plainCalls, 1);
    msgSend(c, "takesClass:"_sel, Square::class_());
    EXPECT_EQ(lastClassArgument, Square::class_());
    // Siblings do not gain the method.
    EXPECT_FALSE(respondsToSelector(s.get(), "plain"_sel));
    EXPECT_TRUE(respondsToSelector(c.get(), "plain"_sel));
    EXPECT_TRUE(msgSend<bool>(c, "respondsToSelector:"_sel, "plain"_sel));
}

TEST(Runtime, MessagesToNilDoNothing)
{
    std::shared_ptr<Square> none;
    EXPECT_EQ(msgSend<double>(none, "area"_sel), 0.0);
    EXPECT_EQ(msgSend<id>(none, "anything"_sel), nullptr);
    msgSend(none, "whatever:"_sel, 3);
}

TEST(RuntimeDeathTest, WrongTypesAndUnknownSelectorsStopWithTheClassAndSelector)
{
    auto s = std::make_shared<Square>();
    EXPECT_DEATH(msgSend<int>(s, "area"_sel), "-\\[Square area\\].*'i@:'.*'d@:'");
    EXPECT_DEATH(msgSend<double>(s, "area"_sel, 1), "-\\[Square area\\]");
    EXPECT_DEATH(msgSend(s, "fly"_sel), "-\\[Square fly\\]: unrecognized selector");
    EXPECT_DEATH(msgSend<id>(Square::class_(), "fly"_sel), "\\+\\[Square fly\\]");
    // An object argument of another class than the method takes.
    EXPECT_DEATH(msgSend(std::make_shared<Keeper>(), "keepSquare:"_sel, std::make_shared<Circle>()),
                 "Circle is not of the C\\+\\+ type");
}

TEST(Runtime, ObjectArgumentsArriveAsTheSendersOwnReferenceOrACheckedOne)
{
    auto keeper = std::make_shared<Keeper>();
    auto square = std::make_shared<Square>();
    msgSend(keeper, "keepSquare:"_sel, square);
    EXPECT_EQ(keeper->kept, square);
    EXPECT_EQ(keeper->countOnArrival, 1); // the sender's own reference, not a copy
    const id asObject = std::make_shared<Square>();
    msgSend(keeper, "keepSquare:"_sel, asObject);
    EXPECT_EQ(keeper->kept, asObject);
    msgSend(keeper, "keepSquare:"_sel, nullptr);
    EXPECT_EQ(keeper->kept, nullptr);
}

TEST(Runtime, InstanceVariablesByNameWithTypeCheck)
{
    auto a = std::make_shared<Square>();
    auto b = std::make_shared<Circle>();
    Ivar neighbour = class_getInstanceVariable(Square::class_(), "_neighbour");
    ASSERT_NE(neighbour, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(neighbour), "@");
    object_setIvar(a.get(), neighbour, b);
    EXPECT_EQ(a->_neighbour, b);
    EXPECT_EQ(object_getIvar(a.get(), neighbour), b);
    object_ivar<int>(a.get(), "_corners") = 4;
    EXPECT_EQ(a->_corners, 4);
    EXPECT_EQ(class_getInstanceVariable(Square::class_(), "_missing"), nullptr);
    EXPECT_DEATH(object_ivar<double>(a.get(), "_corners"), "_corners of class Square");
    EXPECT_DEATH(object_ivar<int>(a.get(), "_missing"), "no instance variable _missing");
    EXPECT_DEATH(object_setIvar(a.get(), neighbour, std::make_shared<Button>()), "cannot hold an object of class Button");
}

TEST(Runtime, TargetActionWithAndWithoutSender)
{
    auto button = std::make_shared<Button>();
    auto sender = std::make_shared<Circle>();
    sendAction(button, "tapped"_sel, sender);
    sendAction(button, "tappedBy:"_sel, sender);
    EXPECT_EQ(button->taps, 1);
    EXPECT_EQ(button->lastSender, sender);
    sendAction(nullptr, "tapped"_sel, sender);
    EXPECT_DEATH(sendAction(button, "area"_sel, sender), "Button area");
}

TEST(Runtime, ClassMadeAtRunTimeKeepsItsOwnMethods)
{
    Class dynamic = objc_allocateClassPair(Shape::class_(), "RuntimeMadeShape");
    ASSERT_NE(dynamic, nullptr);
    objc_registerClassPair(dynamic);
    EXPECT_EQ(objc_getClass("RuntimeMadeShape"), dynamic);
    EXPECT_TRUE(class_addMethod(dynamic, "plainMade"_sel, reinterpret_cast<IMP>(&plain), "v@:"));
    id made = dynamic->createInstance();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->isa(), dynamic);
    EXPECT_TRUE(made->isKindOfClass(Shape::class_()));
    const int before = plainCalls;
    msgSend(made, "plainMade"_sel);
    EXPECT_EQ(plainCalls, before + 1);
    EXPECT_DOUBLE_EQ(msgSend<double>(made, "area"_sel), 0.0);
    EXPECT_FALSE(respondsToSelector(std::make_shared<Shape>().get(), "plainMade"_sel));
}
