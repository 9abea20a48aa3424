// The language runtime's failure paths, as the program has them: it neither throws nor catches, so
// an allocation failure raises the non-continuable structured exception STATUS_NO_MEMORY and an
// invalid argument to a string STATUS_ILLEGAL_INSTRUCTION; nothing handles either, so each ends the
// process. Linked into Morvane.exe only (the tests keep the standard library's exceptions). Doing
// without the C++ exception machinery also keeps the program small: with it, the static runtime
// brings about 130 KB of unwinder, demangler and exception classes into a 90 KB program.

#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

// The program's std::string members, compiled here without exceptions, in place of the library's
// own copies, which are compiled with them.
template class std::basic_string<char>;

namespace {

const DWORD kStatusNoMemory = 0xC0000017;
const DWORD kStatusInvalidArgument = 0xC000001D;

[[noreturn]] void RaiseFatal(DWORD code)
{
    RaiseException(code, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();  // not reached: a non-continuable exception does not return
}

void* Allocate(std::size_t size)
{
    return std::malloc(size != 0 ? size : 1);
}

void* AllocateOrRaise(std::size_t size)
{
    void* block = Allocate(size);
    if (!block)
        RaiseFatal(kStatusNoMemory);
    return block;
}

} // namespace

void* operator new(std::size_t size)
{
    return AllocateOrRaise(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrRaise(size);
}

// The message box's string buffers ask for these: a failed allocation gives null, and no box.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

// The standard library reports its failures through these; the program ends instead of throwing.
namespace std {
void __throw_bad_alloc()
{
    RaiseFatal(kStatusNoMemory);
}
void __throw_bad_array_new_length()
{
    RaiseFatal(kStatusNoMemory);
}
void __throw_length_error(const char*)
{
    RaiseFatal(kStatusNoMemory);
}
void __throw_logic_error(const char*)
{
    RaiseFatal(kStatusInvalidArgument);
}
void __throw_out_of_range(const char*)
{
    RaiseFatal(kStatusInvalidArgument);
}
void __throw_out_of_range_fmt(const char*, ...)
{
    RaiseFatal(kStatusInvalidArgument);
}
void __throw_invalid_argument(const char*)
{
    RaiseFatal(kStatusInvalidArgument);
}
void __throw_bad_function_call()
{
    RaiseFatal(kStatusInvalidArgument);
}
} // namespace std
