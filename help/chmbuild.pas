{ chmbuild: compiles a help project with Free Pascal's CHM writer, as chmcmd does, but with the
  full-text indexer that help/chmbuild.py patches in, and looks words up in a compiled file.
    chmbuild PROJECT.hhp                 writes the file the project's "Compiled file=" names
    chmbuild --search FILE.chm WORD      prints the pages the full-text index finds WORD on }
program chmbuild;
{$mode objfpc}{$H+}
uses cwstring, Classes, SysUtils, chmfilewriter, chmreader, chmfiftimain;

procedure Build(const Hhp: String);
var
  Project: TChmProject;
  Output: TFileStream;
begin
  Project := TChmProject.Create;
  Project.LoadFromhhp(Hhp, False);
  Output := TFileStream.Create(ExtractFilePath(Hhp) + Project.OutputFileName, fmCreate);
  Project.WriteChm(Output);
  Output.Free;
  Project.Free;
end;

procedure Search(const Chm, AWord: String);
var
  Reader: TChmReader;
  Searcher: TChmSearchReader;
  Hits, TitleHits: TChmWLCTopicArray;
  I: Integer;
  Title: String;
begin
  Reader := TChmReader.Create(TFileStream.Create(Chm, fmOpenRead), True);
  Searcher := TChmSearchReader.Create(Reader.GetObject('/$FIftiMain'), True);
  Hits := Searcher.LookupWord(AWord, TitleHits, False);
  for I := 0 to High(Hits) do
    WriteLn(Reader.LookupTopicByID(Hits[I].TopicIndex, Title));
  Searcher.Free;
  Reader.Free;
end;

begin
  if ParamStr(1) = '--search' then
    Search(ParamStr(2), ParamStr(3))
  else
    Build(ParamStr(1));
end.
