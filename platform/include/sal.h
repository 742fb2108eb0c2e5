#pragma once
// Source annotations: Microsoft's compiler checks them, GCC has no use for them, so they stand
// for nothing here. Programs written from the newer project templates carry them on wWinMain
// and window procedures.
#define _In_
#define _In_opt_
#define _In_z_
#define _In_opt_z_
#define _In_reads_(size)
#define _In_reads_opt_(size)
#define _In_reads_bytes_(size)
#define _Out_
#define _Out_opt_
#define _Out_writes_(size)
#define _Out_writes_opt_(size)
#define _Out_writes_bytes_(size)
#define _Outptr_
#define _Outptr_opt_
#define _Inout_
#define _Inout_opt_
#define _Inout_updates_(size)
#define _Printf_format_string_
#define _Check_return_
#define _Success_(expr)
#define _Ret_maybenull_
#define _Use_decl_annotations_
