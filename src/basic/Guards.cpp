#include "basic/Guards.h"

namespace movra {

RuntimeError CurrentRuntimeError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(ErrOutOfMemory);
    } catch (const std::length_error&) {
        return RuntimeError(ErrOutOfMemory);
    } catch (const std::out_of_range&) {
        return RuntimeError(ErrSubscriptOutOfRange);
    } catch (...) {
        return RuntimeError(ErrInternal);
    }
}

void ShowRuntimeError(Prompt& prompt, const RuntimeError& error) {
    prompt.MsgBox(error.description, MsgOkOnly, std::to_string(error.number));
}

}  // namespace movra
