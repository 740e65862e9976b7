// The members of KVectorTemplate that the library provides, each built from
// the one template with its differences taken from VectorElementTraits.
#include "vector/vector_file_impl.h"
#include "vector/vector_template_impl.h"

template class KVectorTemplate<KBW8>;
template class KVectorTemplate<KBW16>;
template class KVectorTemplate<KBW32>;
template class KVectorTemplate<KC24>;
template class KVectorTemplate<KINT32>;
template class KVectorTemplate<KRun>;
template class KVectorTemplate<unsigned int>;
