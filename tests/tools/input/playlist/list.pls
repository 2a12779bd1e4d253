[playlist]
NumberOfEntries=1
File1=sub/b.flac
Length1=61
Title1=Вторая "песня"
