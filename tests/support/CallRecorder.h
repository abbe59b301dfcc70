#pragma once

#include "library/MenuItem.h"
#include "runtime/CallTrace.h"
#include "runtime/ClassTable.h"
#include "runtime/Method.h"
#include "runtime/Object.h"
#include "runtime/RefTrace.h"
#include "runtime/String.h"

#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

// Records the calls a road makes, in order, one line each: "Label.Text.Set(Label, 0, "00:59")". Two
// sources feed it: the framework's traced calls, and entries of class tables that a test wraps, which
// show calls made through a method or event table (a direct call bypasses the wrapper and so is
// missing from the log).
//
// What happens inside a call is shown or not by what kind of call it is: inside the program's own
// routines everything is shown; inside the framework's, only what the framework calls back in the
// program (a wrapped handler or operation marked Shown). Hidden calls show nothing inside at all.
class CallRecorder final : public CallTraceObserver {
public:
    enum class Inside { Shown, Quiet, Hidden };

    CallRecorder()
    {
        s_active = this;
        RuntimeSetCallTrace(this);
    }
    ~CallRecorder() override
    {
        RuntimeSetCallTrace(nullptr);
        if (m_freesRecorded)
            RuntimeSetRefTrace(nullptr, nullptr);
        for (auto it = m_installed.rbegin(); it != m_installed.rend(); ++it)
            *it->entry = it->original;
        s_active = nullptr;
    }
    CallRecorder(const CallRecorder&) = delete;
    CallRecorder& operator=(const CallRecorder&) = delete;

    // Lines are kept only between start and stop; calls open when recording starts count as outside.
    void start()
    {
        m_recording = true;
        m_base = m_stack.size();
    }
    void stop() { m_recording = false; }
    void clear() { m_lines.clear(); }
    void mark(std::string line)
    {
        if (m_recording)
            m_lines.push_back(std::move(line));
    }
    const std::vector<std::string>& lines() const { return m_lines; }
    std::string text() const
    {
        std::string all;
        for (const std::string& line : m_lines)
            all += line + "\n";
        return all;
    }

    // Also records each object whose last reference goes, as "free(Class)", wherever it happens.
    void recordFrees()
    {
        m_freesRecorded = true;
        RuntimeSetRefTrace(&freeHook, this);
    }

    // Framework calls inside which the program's own calls are shown (the framework calls back into the
    // program through a routine address, which no table entry can wrap).
    void showInside(std::string call) { m_shownInside.push_back(std::move(call)); }

    // Runs the action when the traced call starts, once, before the call's line is recorded.
    void at(std::string call, std::function<void()> action)
    {
        m_actions.emplace(std::move(call), std::move(action));
    }

    // Names for routine addresses and for strings, as a log shows them.
    template <class R, class... A> void name(R (*routine)(A...), std::string shown)
    {
        m_routineNames[reinterpret_cast<void (*)()>(routine)] = std::move(shown);
    }
    void name(MethodEntry entry, std::string shown) { m_routineNames[entry.fn] = std::move(shown); }
    void nameText(std::string_view bytes, std::string shown)
    {
        m_textNames[std::string(bytes)] = std::move(shown);
    }

    // Wraps the entry at a method slot, or the handler of an event, of one class table until the recorder
    // goes. The wrapper records a line under the label, then calls what the entry held.
    template <auto S> void wrap(ClassTable* table, std::string label, Inside inside)
    {
        install(table, false, S.index, thunkFor<S.index, false>(S), std::move(label), inside);
    }
    template <auto S> void wrapEvent(ClassTable* table, std::string label, Inside inside)
    {
        install(table, true, S.index, thunkFor<S.index, true>(S), std::move(label), inside);
    }

    void enter(std::string_view call, std::span<const TraceValue> arguments) override
    {
        if (auto action = m_actions.find(std::string(call)); action != m_actions.end()) {
            std::function<void()> run = std::move(action->second);
            m_actions.erase(action);
            run();
        }
        bool shown = false;
        for (const std::string& name : m_shownInside)
            shown = shown || name == call;
        push(call, arguments, shown ? Inside::Shown : Inside::Quiet);
    }
    void leave() override
    {
        m_stack.pop_back();
        if (m_stack.size() < m_base)
            m_base = m_stack.size();
    }

    // For the wrappers.
    static CallRecorder* active() { return s_active; }
    void push(std::string_view call, std::span<const TraceValue> arguments, Inside inside)
    {
        // A routine of the program shows even when the framework calls it from inside its own call.
        bool recorded = inside == Inside::Shown ? !hidden() : visible();
        if (recorded)
            m_lines.push_back(line(call, arguments));
        m_stack.push_back({ inside, recorded });
    }
    void returned(std::string_view call, bool result)
    {
        if (!m_stack.empty() && m_stack.back().recorded)
            m_lines.push_back(std::string(call) + " returned " + (result ? "true" : "false"));
    }

    struct Wrapped {
        MethodEntry original;
        std::string label;
        Inside inside;
    };
    // What every wrapper ever installed held, by (table, event or method, index). It outlives the
    // recorders, since a delegate may keep a wrapper's address after its recorder has gone.
    static const Wrapped* wrapped(const ClassTable* table, bool event, std::size_t index)
    {
        for (; table; table = table->base) {
            auto found = registry().find({ table, event, index });
            if (found != registry().end())
                return &found->second;
        }
        return nullptr;
    }

private:
    struct Open {
        Inside inside;
        bool recorded;
    };
    struct Installed {
        MethodEntry* entry;
        MethodEntry original;
    };
    using Key = std::tuple<const ClassTable*, bool, std::size_t>;

    static std::map<Key, Wrapped>& registry()
    {
        static std::map<Key, Wrapped> entries;
        return entries;
    }

    template <std::size_t Index, bool Event, class R, class... A> static R thunk(Object* self, A... args)
    {
        const Wrapped* entry = wrapped(self->classTable(), Event, Index);
        auto original = reinterpret_cast<R (*)(Object*, A...)>(entry->original.fn);
        CallRecorder* recorder = active();
        if (!recorder)
            return original(self, args...);
        const TraceValue values[] = { TraceValue(static_cast<const Object*>(self)), TraceValue(args)... };
        recorder->push(entry->label, values, entry->inside);
        struct Leave {
            CallRecorder* recorder;
            ~Leave() { recorder->leave(); }
        } leave { recorder };
        if constexpr (std::is_same_v<R, bool>) {
            bool result = original(self, args...);
            recorder->returned(entry->label, result);
            return result;
        } else {
            return original(self, args...);
        }
    }
    template <std::size_t Index, bool Event, class R, class... A> static MethodEntry thunkFor(Slot<R(A...)>)
    {
        return methodErased(&thunk<Index, Event, R, A...>);
    }
    template <std::size_t Index, bool Event, class R, class... A>
    static MethodEntry thunkFor(EventSlot<R(A...)>)
    {
        return methodErased(&thunk<Index, Event, R, A...>);
    }

    void install(ClassTable* table, bool event, std::size_t index, MethodEntry thunkEntry, std::string label,
        Inside inside)
    {
        MethodEntry& entry = event ? table->events.at(index).handler : table->methods.at(index);
        m_installed.push_back({ &entry, entry });
        m_routineNames[thunkEntry.fn] = label;
        registry()[{ table, event, index }] = { entry, std::move(label), inside };
        entry = thunkEntry;
    }

    bool hidden() const
    {
        if (!m_recording)
            return true;
        for (std::size_t i = m_base; i < m_stack.size(); ++i) {
            if (m_stack[i].inside == Inside::Hidden)
                return true;
        }
        return false;
    }
    bool visible() const
    {
        return !hidden() && (m_stack.size() <= m_base || m_stack.back().inside == Inside::Shown);
    }

    std::string line(std::string_view call, std::span<const TraceValue> arguments) const
    {
        std::string shown(call);
        shown += "(";
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (i > 0)
                shown += ", ";
            shown += format(arguments[i]);
        }
        return shown + ")";
    }

    static std::string objectName(const Object* object)
    {
        if (!object)
            return "nil";
        if (!object->classTable())
            return "an object without a class";
        std::string shown(object->classTable()->nameView());
        if (object->isA(MenuItem::lookup())) {
            std::string_view itemName = static_cast<const MenuItem*>(object)->name().bytes();
            if (!itemName.empty())
                shown += " \"" + std::string(itemName) + "\"";
        }
        return shown;
    }

    std::string quoted(std::string_view text) const
    {
        auto named = m_textNames.find(std::string(text));
        if (named != m_textNames.end())
            return named->second;
        return "\"" + std::string(text) + "\"";
    }

    std::string format(const TraceValue& argument) const
    {
        struct Visitor {
            const CallRecorder& self;
            std::string operator()(const Object* object) const { return objectName(object); }
            std::string operator()(const ClassTable* table) const
            {
                return table ? "class " + std::string(table->nameView()) : "nil";
            }
            std::string operator()(const String* string) const
            {
                return string ? self.quoted(string->bytes()) : "nil";
            }
            std::string operator()(std::string_view text) const { return self.quoted(text); }
            std::string operator()(bool flag) const { return flag ? "true" : "false"; }
            std::string operator()(std::int64_t number) const { return std::to_string(number); }
            std::string operator()(double number) const
            {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%g", number);
                return buffer;
            }
            std::string operator()(Color color) const
            {
                return "RGB(" + std::to_string(color.red) + ", " + std::to_string(color.green) + ", "
                    + std::to_string(color.blue) + ", " + std::to_string(color.alpha) + ")";
            }
            std::string operator()(TraceRoutine routine) const
            {
                if (!routine.address)
                    return "nil";
                auto named = self.m_routineNames.find(routine.address);
                return named == self.m_routineNames.end() ? "an unnamed routine" : named->second;
            }
        };
        return std::visit(Visitor { *this }, argument.value());
    }

    static void freeHook(RefEvent event, const void* target, std::uint32_t countAfter, void* context)
    {
        auto* self = static_cast<CallRecorder*>(context);
        if (event == RefEvent::UnlockObject && countAfter == 0 && self->m_recording)
            self->m_lines.push_back("free(" + objectName(static_cast<const Object*>(target)) + ")");
    }

    inline static CallRecorder* s_active = nullptr;
    bool m_recording = false;
    bool m_freesRecorded = false;
    std::size_t m_base = 0;
    std::vector<Open> m_stack;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_shownInside;
    std::multimap<std::string, std::function<void()>> m_actions;
    std::map<void (*)(), std::string> m_routineNames;
    std::map<std::string, std::string> m_textNames;
    std::vector<Installed> m_installed;
};
