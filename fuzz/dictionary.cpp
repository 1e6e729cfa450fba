// The dictionary files (mvxdictec.idx / .lib) as they are mapped: a small valid pair built
// here with the real builder, their bytes changed by the input (see fuzz::patched; the part
// before "--8<--" for the index, the part after for the data). A damaged or truncated pair is
// refused at open or reads as "not found"; look-ups never read past the map.
#include "EcDictBuilder.h"
#include "FuzzSupport.h"
#include "libs/notedict/EcDictionary.h"

using namespace mvx;

namespace {

QList<QByteArray> makeDictionary()
{
    const QString csv = fuzz::writeFile(
        QStringLiteral("dict.csv"),
        "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio\n"
        "go,g\xc9\x99u,v. move,\"vi. \xe5\x8e\xbb\\nn. \xe5\xb0\x9d\xe8\xaf\x95\",v:90/n:10,5,1,zk gk,44,35,"
        "i:going/p:went/d:gone/3:goes,,\n"
        "went,went,v. moved,go\xe7\x9a\x84\xe8\xbf\x87\xe5\x8e\xbb\xe5\xbc\x8f,,,,,0,0,0:go/1:p,,\n"
        "report,ri'p\xc9\x94:t,n. account,n. \xe6\x8a\xa5\xe5\x91\x8a,,5,1,zk gk,276,450,"
        "d:reported/s:reports/p:reported,,\n"
        "rain,rein,n. water,n. \xe9\x9b\xa8,,5,1,zk,100,90,s:rains,,\n"
        "take off,,v. leave,\xe8\xb5\xb7\xe9\xa3\x9e,,,,,0,0,,,\n");
    const QString lemma = fuzz::writeFile(QStringLiteral("lemma.txt"), "go/100 -> going,went,gone,goes\n");
    EcDictBuilder builder;
    const QString out = fuzz::scratch() + QStringLiteral("/basedict");
    if (!builder.build(csv, lemma, out))
        fuzz::fail("cannot build the base dictionary", builder.errorText());
    return {fuzz::readFile(out + QStringLiteral(".idx")), fuzz::readFile(out + QStringLiteral(".lib"))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QList<QByteArray> base = makeDictionary();
    const QList<QByteArray> records = fuzz::parts(fuzz::input(data, size), 2);
    const QString idx = fuzz::writeFile(QStringLiteral("mvxdictec.idx"), fuzz::patched(base[0], records[0]));
    const QString lib = fuzz::writeFile(QStringLiteral("mvxdictec.lib"), fuzz::patched(base[1], records[1]));

    EcDictionary dict;
    if (!dict.open(idx, lib)) {
        FUZZ_CHECK(!dict.errorText().isEmpty(), idx);
        return 0;
    }
    for (const char *word : {"go", "Went", "gone", "reports", "rain,", "take off", "repot", "zzz", "'s"}) {
        const QString w = QString::fromUtf8(word);
        (void)dict.findKey(QByteArray(word).toLower());
        (void)dict.entry(w);
        (void)dict.lookup(w, 3);
        FUZZ_CHECK(dict.nearest(w, 3).size() <= 3, w);
    }
    return 0;
}
